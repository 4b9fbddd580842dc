#include "RenderTool.h"

#include <optional>

#include "PngFile.h"
#include "common/Errors.h"
#include "common/IntegerText.h"
#include "config/Config.h"
#include "mapdata/Map.h"
#include "platform/Desktop.h"
#include "platform/Files.h"

namespace wf {

namespace {

const char* const Usage =
    "usage: wayfarer-render CONFIG MAPNO overview OUT.png\n"
    "       wayfarer-render CONFIG MAPNO detail X Y ZOOM OUT.png\n"
    "X and Y 0 to 65535, ZOOM 1 to 65535; data file paths in CONFIG are taken\n"
    "from the working directory when relative.\n";

// The map's own reason is reported once it is known not to be loaded, for
// every map number alike, so the box has nothing to add.
class TNoBoxes : public platform::IMessageBoxes {
 public:
  void ShowError(const std::string&, const std::string&) override {}
};

std::optional<int32_t> Number(const std::string& text, int32_t lo, int32_t hi) {
  std::optional<int32_t> value = TryParseInteger(text);
  if (!value || *value < lo || *value > hi) return std::nullopt;
  return value;
}

}  // namespace

int RunRender(const std::vector<std::string>& args, std::ostream& err) {
  const bool overview = args.size() == 4 && args[2] == "overview";
  const bool detail = args.size() == 7 && args[2] == "detail";
  std::optional<int32_t> mapNumber = args.size() > 1 ? TryParseInteger(args[1]) : std::nullopt;
  std::optional<int32_t> x, y, zoom;
  if (detail) {
    x = Number(args[3], 0, 65535);
    y = Number(args[4], 0, 65535);
    zoom = Number(args[5], 1, 65535);
  }
  if (!(overview || (detail && x && y && zoom)) || !mapNumber) {
    err << Usage;
    return 2;
  }
  const std::string& configFile = args[0];
  const std::string& outFile = args.back();
  if (!platform::FileExists(configFile)) {
    err << "Cannot open file " << configFile << "\n";
    return 1;
  }
  try {
    TConfig config;
    config.LoadFromFile(configFile);
    TNoBoxes boxes;
    TMap map(*mapNumber, config, boxes);
    if (!map.IsLoaded()) {
      err << map.FailureText() << "\n";
      return 1;
    }
    std::unique_ptr<TBitmap32> detailPicture;
    if (detail)
      detailPicture = map.RenderDetail(static_cast<uint16_t>(*x), static_cast<uint16_t>(*y),
                                       static_cast<uint16_t>(*zoom));
    const TBitmap32& picture = detail ? *detailPicture : *map.GetOverview();
    if (!WritePng(outFile, picture)) {
      err << "Cannot create file " << outFile << "\n";
      return 1;
    }
    return 0;
  } catch (const Exception& e) {
    err << e.what() << "\n";
    return 1;
  }
}

}  // namespace wf
