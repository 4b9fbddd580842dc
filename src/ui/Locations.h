#pragma once
// The player's named places: one record per place, the rules by which a line of
// locations.txt becomes a place, the file's written layout, and the text rules
// the places panel uses.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Errors.h"
#include "platform/Files.h"

namespace wf::ui {

struct TLocation {
  std::string Name;
  std::string Coords;  // as typed or read, normally "X,Y,Z"
  uint16_t MapNo = 0;
};

using TLocationList = std::vector<std::unique_ptr<TLocation>>;

// A place the user asked for that would not read back from the file as the
// same place; nothing is changed when it is raised.
class EPlaceRefused : public Exception {
 public:
  using Exception::Exception;
  const char* KindName() const override { return "EPlaceRefused"; }
};

// Appends the parts of `text` cut at every occurrence of `delimiter`, empty
// parts included, and returns `list`. An empty delimiter cuts nothing.
std::vector<std::string>& SplitString(std::string_view text, std::string_view delimiter,
                                      std::vector<std::string>& list);

// Order of two places by name, byte by byte as unsigned values, the shorter
// first where one name begins the other: -1, 0 or 1 (0 for the same record).
int CompareLocations(const TLocation& a, const TLocation& b);

// Ascending by CompareLocations; places with equal names in no particular order.
void SortLocations(TLocationList& places);

// What one line of the places file holds.
struct TLocationLine {
  enum class Kind {
    Skipped,     // empty, a comment, or no "="
    Place,       // `Place` holds it
    Unreadable,  // its map part is no map number; `MapText` holds that part
  };
  Kind What = Kind::Skipped;
  TLocation Place;
  std::string MapText;
};

TLocationLine ReadLocationLine(std::string_view line);

// The error a map part that is no map number raises.
EConvertError NotAMapNumber(std::string_view text);

// The lines of a text cut at CR, LF or CR LF; a byte 0 ends the text.
std::vector<std::string> TextLines(std::string_view text);
// The text before its first byte 0.
std::string_view TextBeforeZero(std::string_view text);
// What follows the end that a byte 0 makes, from that byte on; empty without one.
std::string_view UnreadRest(std::string_view text);

// The places file as written: header, empty line, "%s=%s %d" per place, then
// the lines kept because the program could not read them, every line ending
// in CR LF, and last the unread rest of the file from a byte 0 on, as it was.
std::string LocationsFileText(const TLocationList& places,
                              const std::vector<std::string>& keptLines,
                              std::string_view unreadRest = {});

// The comma-delimited parse of a coordinate text: items cut at "," or at
// characters 1 to 32, double quotes around an item, "" inside for one quote.
// Only the first `maxItems` items are read: a text of millions of commas does
// not become millions of items for a caller that looks at three.
std::vector<std::string> ParseCommaText(std::string_view text, size_t maxItems = SIZE_MAX);

// `answer`, or `answer` followed by a counter when the places already hold it.
// One pass in list order: the answer itself starts the count at 1, and each
// following answer+count raises it by one.
std::string UniqueLocationName(const TLocationList& places, const std::string& answer);

// Raise EPlaceRefused when a name or one coordinate text would not survive the
// places file: "=" and "//" end a name, a space ends the coordinates, and line
// breaks or a byte 0 end the line.
void CheckLocationName(const std::string& name);
void CheckCoordinateText(const std::string& text);
// Raise EPlaceRefused, naming the field, unless X and Y are integer text from 0
// to 65535 and Z from -128 to 127: anything else would travel somewhere else.
void CheckPlaceCoordinates(const std::string& x, const std::string& y, const std::string& z);

// The most a places file, or a file of places to import, may hold; a larger
// one is not read at all.
inline constexpr uint64_t kMaxPlacesFileSize = uint64_t{16} << 20;

// How the bytes of a places file hold its text: UTF-16 text (by its mark) is
// converted to the code page, a UTF-8 mark is left off, other bytes are the
// text as they are.
struct TPlacesText {
  std::optional<std::string> Converted;  // the text, when it came from UTF-16
  size_t MarkLength = 0;                 // of the UTF-8 mark left off
  std::string Problem;                   // why it cannot be read; empty when it can
  std::string_view Of(std::string_view bytes) const { return Converted ? *Converted : bytes.substr(MarkLength); }
};
TPlacesText DecodePlacesText(std::string_view bytes);

// Why a change is refused whose places file, of `size` bytes, would be larger
// than kMaxPlacesFileSize.
std::string PlacesFileTooLarge(const std::string& path, uint64_t size);

// The bytes of a places or marker file; nothing, with the reason, when it
// cannot be read or is larger than kMaxPlacesFileSize.
std::optional<std::string> ReadPlacesFileBytes(const std::string& path, platform::ShareMode share,
                                               std::string* reason);

// Where the places are kept. The program keeps them in the file beside the
// executable (FilePlacesStore); a test can stand in for it.
class IPlacesStore {
 public:
  virtual ~IPlacesStore() = default;
  virtual bool Exists(const std::string& path) = 0;
  // Nothing when the file cannot be read, with the reason in `reason`.
  virtual std::optional<std::string> Read(const std::string& path, std::string* reason) = 0;
  // 0, or the I/O error code and the system's text for the failure in
  // `reason`; the old file stays whole on failure.
  virtual int Replace(const std::string& path, std::string_view contents, std::string* reason) = 0;
};

IPlacesStore& FilePlacesStore();

}  // namespace wf::ui
