#include "mapdata/BlockReading.h"

#include <algorithm>

namespace wf {

bool ReadTopStatics(const TStaIdxEntry& entry, TFileView& statics, TTopStatics& top) {
  if (entry.Offset < 0 || entry.Length == 0 || entry.Length == 0xFFFFFFFF) return false;
  const uint32_t count = entry.Length / StaticItemBytes;
  if (count == 0 || count > MaxStaticsPerBlock) return false;
  const uint64_t bytes = uint64_t{count} * StaticItemBytes;
  if (static_cast<uint64_t>(entry.Offset) + bytes > statics.Size()) return false;
  const TFileView::TSpan records = statics.Window(static_cast<uint64_t>(entry.Offset), bytes);
  if (records.Size < bytes) return false;

  top.Altitude.fill(-128);
  top.Chosen.fill(false);
  for (const unsigned char* r = records.Data; r != records.Data + bytes; r += StaticItemBytes) {
    const TStaticItem item = DecodeStaticItem(r);
    if (item.X >= 8 || item.Y >= 8) continue;  // on no cell of this block
    const int cell = item.Y * 8 + item.X;
    if (item.Altitude > top.Altitude[cell]) {
      top.Altitude[cell] = item.Altitude;
      top.Tile[cell] = item.Tile;
      top.Chosen[cell] = true;
    }
  }
  return true;
}

void ReadBlock(const TMapCells& source, TFileView& view, uint64_t block, unsigned char* out) {
  const TMapCells::TRun run = source.RunFrom(block);
  if (run.Blocks == 0)
    std::fill(out, out + MapBlockBytes, 0);
  else
    view.Read(run.Offset, out, MapBlockBytes);
}

}  // namespace wf
