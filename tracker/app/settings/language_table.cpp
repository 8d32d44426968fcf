#include "tracker/app/settings/language_table.h"

namespace tracker {

namespace {

// clang-format off
const LanguageTexts kEnglish = {
    "Date", "Driver", "Purpose", "Memo", "Start", "End", "Driving Information", "Total Distance",
    "Driving Time", "Stopped Duration", "Average Speed", "Maximum Speed", "Trip Information", "km/h",
    "mile/h", "hh/mm/ss", "km", "mile", "Notice", "Log File Format Not Found!",
    "DST(Daylight Saving Time)", "One Day", "Driving", "Parking",
};

const LanguageTexts kKorean = {
    "일시", "운전자", "목적", "설명", "시작", "종료", "운행 정보", "주행 거리",
    "주행 시간", "정차 시간", "평균 속도", "최고 속도", "여행 정보", "km/h",
    "mile/h", "hh/mm/ss", "km", "mile", "알림", "로그 파일 포맷이 없습니다!",
    "서머타임(Summer Time)", "일일 데이터", "주행 데이터", "주차 데이터",
};

const LanguageTexts kSimplifiedChinese = {
    "日期", "驱动", "用途", "记忆", "开始", "结束", "行车资料", "总距离",
    "行车时间", "熄火时间", "平均速度", "最高速度", "旅程资料", "公里/小时",
    "英哩/小时", "小时/分钟/秒数", "公里/小时", "英里/小时", "警告", "文件格式不符",
    "DST(Daylight Saving Time)", "一天", "行驶", "停车(熄火)",
};

// The older build's own wording of items 1-13 (the rest as above).
const LanguageTexts kSimplifiedChineseOther = {
    "日期", "驾驶员", "目的", "备注", "起始", "终止", "行驶信息", "行驶里程",
    "行驶时间", "停车时长", "平均车速", "最高车速", "行程信息", "公里/小时",
    "英哩/小时", "小时/分钟/秒数", "公里/小时", "英里/小时", "警告", "文件格式不符",
    "DST(Daylight Saving Time)", "一天", "行驶", "停车(熄火)",
};

const LanguageTexts kJapanese = {
    "日付", "運転手", "目的", "説明", "スタート", "終了", "運行情報", "走行距離",
    "走行時間", "停車時間", "平均時速", "最高時速", "運行者情報", "km/h",
    "mile/h", "hh/mm/ss", "km", "mile", "Notice", "Log File Format Not Found!",
    "DST(Daylight Saving Time)", "One Day", "Driving", "Parking",
};

const LanguageTexts kRussian = {
    "ДАТА", "ВОДИТЕЛЬ", "ЦЕЛЬ", "ОПИСАНИЕ", "НАЧАЛО", "КОНЕЦ", "Параметры", "Общая дистанция",
    "Общее время в пути", "Общее время стоянки", "Средняя скорость", "Максимальная скорость",
    "Информация о поездке", "км/ч", "миль/ч", "чч/мм/сс", "км", "миль", "Предупреждение",
    "Файл не найден", "DST(Daylight Saving Time)", "One Day", "Driving", "Parking",
};

const LanguageTexts kSpanish = {
    "Fecha", "Conductor", "Propósito", "Nota", "Inicio", "Fin", "Información de Manejo",
    "Distancia Total", "Total tiempo de manejo", "Total tiempo estacionado", "Velocidad Media",
    "Velocidad Maxima", "Información de Viaje", "Km/h", "milla/h", "hh/mm/ss", "Km", "Milla", "Aviso",
    "Registro del formato no encontrado!", "DST(Daylight Saving Time)", "One Day", "Driving", "Parking",
};

const LanguageTexts kPortuguese = {
    "Data", "Motorista", "Objetivo", "Comentário", "InÍcio", "Fim", "Informações da rota",
    "Distância total", "Tempo total da rota", "Duração total da parada", "Velocidade média",
    "Velocidade máxima", "Informação da viagem", "km/h", "mi/h", "hh/mm/ss", "km", "milha", "Aviso",
    "Formato de arquivo não encontrado", "DST(Daylight Saving Time)", "One Day", "Driving", "Parking",
};

const LanguageTexts kTraditionalChinese = {
    "日期", "驅動", "用途", "記憶", "開始", "结束", "行車資料", "總里程(哩程)",
    "行車時間", "熄火時間", "平均速度", "最高速度", "旅程資料", "公里/小時",
    "英哩/小時", "小時/分鐘/秒數数", "公里/小時", "英哩/小時", "警告", "找不到行車檔案",
    "DST(Daylight Saving Time)", "單日", "行駛", "停車(熄火)",
};

// The texts of each row of the table as the current build shows them.
const std::array<const LanguageTexts*, kLanguageCount> kCurrentTexts = {
    &kEnglish, &kKorean, &kSimplifiedChinese, &kJapanese, &kRussian, &kEnglish,
    &kSpanish, &kEnglish, &kEnglish, &kPortuguese, &kEnglish, &kTraditionalChinese,
};
// clang-format on

constexpr int kChineseIndex = 2;
constexpr int kTaiwanIndex = 11;

}  // namespace

const std::array<Language, kLanguageCount> kLanguages = {{
    {0, "eLANG_ENG", "UK", 2000},
    {1, "eLANG_KOR", "한국", 2001},
    {2, "eLANG_CHN", "中国", 2002},
    {3, "eLANG_JPN", "日本", 2003},
    {4, "eLANG_RUS", "РУС", 2004},
    {5, "eLANG_USA", "US", 2005},
    {6, "eLANG_ESP", "España", 2006},
    {7, "eLANG_SGP", "Singapore", 2007},
    {8, "eLANG_AUS", "Australia", 2008},
    {9, "eLANG_PRT", "Brasil", 2009},
    {10, "eLANG_COL", "Colombia", 2010},
    {11, "eLANG_TWN", "Taiwan", 2211},
}};

std::optional<int> LanguageIndexOfCode(std::string_view code) {
  for (const Language& language : kLanguages) {
    if (language.code == code) return language.index;
  }
  return std::nullopt;
}

const LanguageTexts& TextsOf(int language_index, const TrackerProfile& profile) {
  if (language_index < 0 || language_index >= kLanguageCount) language_index = kDefaultLanguageIndex;
  if (language_index == kTaiwanIndex && profile.taiwan_texts == TaiwanTexts::kEnglish) return kEnglish;
  if (language_index == kChineseIndex && profile.chinese_texts == ChineseTexts::kOtherTranslation) {
    return kSimplifiedChineseOther;
  }
  return *kCurrentTexts[static_cast<std::size_t>(language_index)];
}

std::string_view Text(int language_index, int item, const TrackerProfile& profile) {
  if (item < 1 || item > kTextsPerLanguage) return {};
  return TextsOf(language_index, profile)[static_cast<std::size_t>(item - 1)];
}

}  // namespace tracker
