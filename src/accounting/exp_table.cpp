#include "accounting/exp_table.h"

#include <array>

namespace {

// Experience from the start of level 1 to the start of level n + 1, for
// n = 0 … 199: the classic table, compiled in exactly as it has always been.
// Held as 64-bit integers: from slot 145 on the values no longer fit 32
// bits, and every one of them must stay exact.
constexpr std::array<std::int64_t, 200> kCumulativeExp = {
    0, 15, 49, 106, 198,
    333, 705, 1'265, 2'105, 3'347,
    5'063, 7'423, 10'639, 14'839, 20'299,
    27'349, 36'189, 47'229, 60'945, 77'625,
    97'841, 122'243, 151'223, 185'543, 226'055,
    273'271, 328'171, 391'837, 464'917, 548'637,
    644'337, 752'817, 875'577, 1'014'243, 1'169'783,
    1'343'999, 1'538'831, 1'755'431, 1'995'931, 2'262'613,
    2'556'829, 2'881'069, 3'237'985, 3'629'145, 4'057'425,
    4'525'875, 5'036'295, 5'591'975, 6'196'391, 6'851'591,
    7'561'307, 8'309'915, 9'099'546, 9'932'448, 10'810'993,
    11'737'682, 12'715'153, 13'746'189, 14'833'725, 15'980'857,
    17'190'851, 18'467'152, 19'813'394, 21'233'410, 22'731'242,
    24'311'155, 25'977'647, 27'735'462, 29'589'605, 31'545'355,
    33'608'280, 35'784'253, 38'079'469, 40'500'462, 43'054'125,
    45'747'188, 48'588'400, 51'585'310, 54'746'450, 58'080'820,
    61'597'913, 65'307'742, 69'220'869, 73'348'435, 77'702'191,
    82'294'532, 87'138'533, 92'247'985, 97'637'434, 103'322'224,
    109'318'540, 115'643'454, 122'314'973, 129'352'091, 136'774'843,
    144'604'361, 152'862'936, 161'574'080, 170'762'594, 180'454'638,
    190'677'806, 201'461'203, 212'835'530, 224'833'170, 237'488'280,
    250'836'890, 264'917'003, 279'768'706, 295'434'282, 311'958'331,
    329'387'897, 347'772'603, 367'164'790, 387'617'668, 409'193'473,
    431'951'632, 455'956'938, 481'327'734, 508'036'109, 536'208'102,
    565'923'920, 597'268'164, 630'330'072, 665'203'772, 701'988'550,
    740'789'133, 781'715'987, 824'885'632, 870'420'973, 918'451'650,
    969'114'408, 1'022'553'485, 1'078'921'023, 1'138'377'502, 1'201'092'196,
    1'267'243'655, 1'337'020'213, 1'410'620'526, 1'488'254'136, 1'570'142'067,
    1'656'517'456, 1'747'626'216, 1'843'727'736, 1'945'095'619, 2'052'018'461,
    2'164'800'674, 2'283'763'352, 2'409'245'184, 2'541'603'420, 2'681'214'887,
    2'828'477'062, 2'983'809'204, 3'147'653'547, 3'320'476'559, 3'502'770'277,
    3'695'053'685, 3'897'874'223, 4'111'809'326, 4'337'468'072, 4'575'492'917,
    4'826'561'523, 5'091'388'688, 5'370'728'381, 5'665'375'889, 5'976'170'080,
    6'303'995'792, 6'649'786'353, 7'014'526'236, 7'399'253'864, 7'805'064'566,
    8'233'113'694, 8'684'619'914, 9'160'868'676, 9'663'215'872, 10'193'091'696,
    10'752'004'716, 11'341'546'170, 11'963'394'496, 12'619'320'112, 13'311'190'452,
    14'040'975'288, 14'810'752'334, 15'622'713'164, 16'479'169'448, 17'382'559'538,
    18'335'455'406, 19'340'569'968, 20'400'764'808, 21'519'058'326, 22'698'634'330,
    23'942'851'100, 25'255'250'950, 26'639'570'312, 28'099'750'376, 29'639'948'308,
    31'264'549'088, 32'978'177'992, 34'785'713'760, 36'692'302'490, 38'703'372'284,
};

bool InRange(std::int32_t level) { return level >= 1 && level <= kTopLevel; }

}  // namespace

ExpTable::ExpTable() {
  for (std::int32_t level = 1; level <= kCompiledTopLevel; ++level) {
    const auto slot = static_cast<std::size_t>(level);
    sizes_[slot] = kCumulativeExp[slot] - kCumulativeExp[slot - 1];
  }
}

void ExpTable::SetSize(std::int32_t level, std::int64_t size) {
  if (!InRange(level) || size < 1 || size > kLargestLevelSize) return;
  sizes_[static_cast<std::size_t>(level)] = size;
}

std::optional<std::int64_t> ExpTable::Size(std::int32_t level) const {
  if (!InRange(level)) return std::nullopt;
  const std::int64_t size = sizes_[static_cast<std::size_t>(level)];
  if (size == 0) return std::nullopt;
  return size;
}

std::optional<double> ExpTable::SizesBetween(std::int32_t from, std::int32_t to) const {
  double sum = 0;
  for (std::int32_t level = from; level < to; ++level) {
    const std::optional<std::int64_t> size = Size(level);
    if (!size) return std::nullopt;
    sum += static_cast<double>(*size);
  }
  return sum;
}

std::optional<double> ExpTable::Total(std::int32_t level, double exp) const {
  if (!InRange(level)) return std::nullopt;
  const std::optional<double> start = SizesBetween(1, level);
  if (!start) return std::nullopt;
  return *start + exp;
}

std::optional<double> ExpTable::Gain(std::int32_t fromLevel, double fromExp, std::int32_t toLevel,
                                     double toExp) const {
  if (fromLevel == toLevel) return toExp - fromExp;
  if (toLevel < fromLevel) {
    const std::optional<double> back = Gain(toLevel, toExp, fromLevel, fromExp);
    if (!back) return std::nullopt;
    return -*back;
  }
  const std::optional<double> finished = SizesBetween(fromLevel, toLevel);
  if (!finished) return std::nullopt;
  return *finished - fromExp + toExp;
}

std::optional<std::int32_t> ExpTable::FirstFall() const {
  std::int64_t before = 0;
  for (std::int32_t level = 1; level <= kTopLevel; ++level) {
    const std::int64_t size = sizes_[static_cast<std::size_t>(level)];
    if (size == 0) continue;
    if (size < before) return level;
    before = size;
  }
  return std::nullopt;
}

std::shared_ptr<const ExpTable> CompiledExpTable() {
  static const std::shared_ptr<const ExpTable> compiled = std::make_shared<const ExpTable>();
  return compiled;
}
