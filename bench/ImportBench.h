#pragma once
// The import of 100,000 markers into 5,000 places, beside reading the same
// marker file alone.

namespace wf::bench {

// Registers the cases, their repetitions taking turns as the map cases do;
// "ImportMarkers" is the import, "ImportMarkersReadAlone" the reading.
void RegisterImportCases(int repetitions);

}  // namespace wf::bench
