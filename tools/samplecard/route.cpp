#include "tools/samplecard/route.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace samplecard {
namespace {

constexpr double kMetresPerDegree = 111320.0;
constexpr double kKnotsPerMetrePerSecond = 1.0 / 0.514444;

}  // namespace

std::vector<RouteFix> Drive(Random& random, std::time_t start, int seconds, Place& from) {
  std::vector<RouteFix> fixes;
  fixes.reserve(static_cast<std::size_t>(seconds));
  double speed = 0;  // m/s
  double course = random.Uniform(0, 360);
  double turnRate = 0;                   // degrees a second
  double target = 0;                     // the speed the driver is heading for
  int phaseLeft = random.Between(3, 8);  // start by standing still
  int noFixLeft = 0;

  for (int s = 0; s < seconds; ++s) {
    if (--phaseLeft <= 0) {
      // A new stretch: a light (stop), town traffic, or an open road up to 100 km/h.
      const double pick = random.Uniform(0, 1);
      target = pick < 0.15 ? 0.0 : pick < 0.6 ? random.Uniform(8, 16) : random.Uniform(16, 27.7);
      turnRate = random.Chance(0.3) ? random.Uniform(-6, 6) : random.Uniform(-0.3, 0.3);
      phaseLeft = random.Between(10, 60);
    }
    // Comfortable acceleration and braking.
    const double step = std::clamp(target - speed, -3.0, 2.5);
    speed = std::max(0.0, speed + step);
    if (speed > 1.0) course = std::fmod(course + turnRate + 360.0, 360.0);

    const double radians = course * std::numbers::pi / 180.0;
    from.latitude += speed * std::cos(radians) / kMetresPerDegree;
    from.longitude +=
        speed * std::sin(radians) / (kMetresPerDegree * std::cos(from.latitude * std::numbers::pi / 180.0));

    if (noFixLeft == 0 && random.Chance(0.002)) noFixLeft = random.Between(3, 8);  // a tunnel
    const bool valid = noFixLeft == 0;
    if (noFixLeft > 0) --noFixLeft;

    fixes.push_back(RouteFix{start + s, from.latitude, from.longitude, speed * kKnotsPerMetrePerSecond, course, valid});
  }
  return fixes;
}

}  // namespace samplecard
