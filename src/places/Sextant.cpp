#include "places/Sextant.h"

#include <cctype>
#include <cstdlib>

#include "common/IntegerText.h"

namespace wf::places {

namespace {

constexpr int32_t kWorldWidth = 5120;
constexpr int32_t kWorldHeight = 4096;

struct TCentre {
  int32_t X, Y;
};
constexpr TCentre kSurface{1323, 1624};
constexpr TCentre kDungeons{5936, 3112};
constexpr int64_t kMinutesRound = 360 * 60;
constexpr int32_t kMaxMinutes = 180 * 60;

// The degree sign in the code page and in UTF-8. The minute marks: the
// apostrophe, the code page's typographic apostrophe and acute accent, their
// UTF-8 forms, the prime and the grave accent that keyboards offer.
constexpr std::string_view kDegreeMarks[] = {"\xB0", "\xC2\xB0"};
constexpr std::string_view kMinuteMarks[] = {"'", "\x92", "\xB4", "`", "\xE2\x80\x99", "\xE2\x80\xB2", "\xC2\xB4"};

// Where the sextant takes its bearings from; nothing outside both areas of
// the two large maps.
std::optional<TCentre> CentreOf(int32_t mapNo, int32_t x, int32_t y) {
  if (mapNo != 0 && mapNo != 1) return kSurface;
  if (x >= 0 && x < kWorldWidth && y >= 0 && y < kWorldHeight) return kSurface;
  if (x >= 5120 && x <= 6143 && y >= 2304 && y <= 4095) return kDungeons;
  return std::nullopt;
}

// (value - centre) * 360 / span degrees, taken above 180 round to below 0, as
// degrees and minutes cut, with the letter of its side. Kept in integers so
// that a whole minute is never lost to rounding.
std::string Angle(int32_t value, int32_t centre, int32_t span, char positive, char negative) {
  int64_t numerator = (int64_t{value} - centre) * 360;
  if (numerator > int64_t{180} * span) numerator -= int64_t{360} * span;
  const char side = numerator >= 0 ? positive : negative;
  numerator = std::llabs(numerator);
  const int64_t degrees = numerator / span;
  const int64_t minutes = numerator % span * 60 / span;
  return NumberText(degrees) + "\xB0" + NumberText(minutes) + "'" + side;
}

// Reads the written forms one byte at a time; a step takes what it expects
// or says it is not there, and the reading ends at the first that is not.
class TReadingScanner {
 public:
  explicit TReadingScanner(std::string_view text) : text_(text) {}

  bool AtEnd() const { return at_ == text_.size(); }

  bool SkipBlanks() {
    const size_t start = at_;
    while (!AtEnd() && (text_[at_] == ' ' || text_[at_] == '\t')) ++at_;
    return at_ != start;
  }

  bool Take(std::string_view what) {
    if (text_.substr(at_).starts_with(what)) {
      at_ += what.size();
      return true;
    }
    return false;
  }

  template <size_t N>
  bool TakeAny(const std::string_view (&marks)[N]) {
    for (std::string_view mark : marks)
      if (Take(mark)) return true;
    return false;
  }

  // Up to three digits: more is never an angle, and keeps the value small.
  std::optional<int32_t> Number() {
    int32_t value = 0;
    size_t digits = 0;
    while (!AtEnd() && text_[at_] >= '0' && text_[at_] <= '9') {
      if (++digits > 3) return std::nullopt;
      value = value * 10 + (text_[at_++] - '0');
    }
    return digits > 0 ? std::optional<int32_t>(value) : std::nullopt;
  }

  bool DegreeMark() { return TakeAny(kDegreeMarks) || Take("o") || Take("O"); }
  bool MinuteMark() { return TakeAny(kMinuteMarks); }

  // The compass letter, upper case; 0 when there is none or a word goes on.
  char Letter() {
    if (AtEnd()) return 0;
    const char letter = static_cast<char>(text_[at_] & ~0x20);
    if (letter != 'N' && letter != 'S' && letter != 'E' && letter != 'W') return 0;
    if (at_ + 1 < text_.size() && std::isalpha(static_cast<unsigned char>(text_[at_ + 1]))) return 0;
    ++at_;
    return letter;
  }

 private:
  std::string_view text_;
  size_t at_ = 0;
};

struct TAngle {
  char Letter;
  int32_t Minutes;  // signed as TSextantReading's
};

std::optional<TAngle> ReadAngle(TReadingScanner& scan) {
  scan.SkipBlanks();
  const std::optional<int32_t> degrees = scan.Number();
  if (!degrees) return std::nullopt;
  // Without a degree mark the blanks alone part degrees from minutes.
  const bool blanks = scan.SkipBlanks();
  if (!scan.DegreeMark() && !blanks) return std::nullopt;
  scan.SkipBlanks();
  const std::optional<int32_t> minutes = scan.Number();
  if (!minutes) return std::nullopt;
  scan.SkipBlanks();
  scan.MinuteMark();
  scan.SkipBlanks();
  const char letter = scan.Letter();
  if (letter == 0 || *minutes > 59) return std::nullopt;
  const int32_t total = *degrees * 60 + *minutes;
  if (total > kMaxMinutes) return std::nullopt;
  return TAngle{letter, letter == 'N' || letter == 'W' ? -total : total};
}

bool IsLatitude(char letter) { return letter == 'N' || letter == 'S'; }

// Cells from the centre to the cell nearest the start of the minute: the
// minute's start is minutes * span / 21600 cells out, rounded to the nearest
// cell (never a tie: both spans hold more factors of two than 21600 does).
int64_t CellsOut(int32_t minutes, int32_t span) {
  const int64_t out = (std::llabs(minutes) * span * 2 + kMinutesRound) / (2 * kMinutesRound);
  return minutes < 0 ? -out : out;
}

// The cell a full circle east or south of another reads the same after
// SextantText's turn past 180°; of the two, the one in [0, span).
int32_t OnAxis(int32_t centre, int32_t minutes, int32_t span) {
  const int64_t near = centre + CellsOut(minutes, span);
  return static_cast<int32_t>(near < 0 ? near + span : near);
}

}  // namespace

std::optional<std::string> SextantText(int32_t mapNo, int32_t x, int32_t y) {
  const std::optional<TCentre> centre = CentreOf(mapNo, x, y);
  if (!centre) return std::nullopt;
  return Angle(y, centre->Y, kWorldHeight, 'S', 'N') + " " +
         Angle(x, centre->X, kWorldWidth, 'E', 'W');
}

size_t SextantMarkLength(std::string_view text) {
  for (std::string_view mark : kDegreeMarks)
    if (text.starts_with(mark)) return mark.size();
  for (std::string_view mark : kMinuteMarks)
    if (text.starts_with(mark)) return mark.size();
  return 0;
}

std::optional<TSextantReading> ParseSextant(std::string_view text) {
  TReadingScanner scan(text);
  const std::optional<TAngle> first = ReadAngle(scan);
  if (!first) return std::nullopt;
  scan.SkipBlanks();
  scan.Take(",");
  const std::optional<TAngle> second = ReadAngle(scan);
  scan.SkipBlanks();
  if (!second || !scan.AtEnd() || IsLatitude(first->Letter) == IsLatitude(second->Letter))
    return std::nullopt;
  return IsLatitude(first->Letter) ? TSextantReading{first->Minutes, second->Minutes}
                                   : TSextantReading{second->Minutes, first->Minutes};
}

TSextantCell SextantCell(const TSextantReading& reading) {
  return {OnAxis(kSurface.X, reading.Longitude, kWorldWidth),
          OnAxis(kSurface.Y, reading.Latitude, kWorldHeight)};
}

}  // namespace wf::places
