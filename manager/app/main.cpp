// One program per camera family, from the same sources: BLACKBOX_PROFILE names the profile.
#include "manager/app/black_box_app.h"
#include "manager/setup/profile.h"

#ifndef BLACKBOX_PROFILE
#error "BLACKBOX_PROFILE must name the build's profile: dual, park or brand"
#endif

int main(int argc, char** argv) {
  const setup::Profile* profile = setup::FindProfile(BLACKBOX_PROFILE);
  if (profile == nullptr) return 2;
  return app::CBlackBoxApp(*profile).Run(argc, argv);
}
