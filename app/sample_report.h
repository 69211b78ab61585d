// The large sample report of the timing programs, filled as the editors fill
// it. Scale 1 is 60 health-care facilities, 20 other components and 10
// regional offices, 25 E-1 and 25 F-1 columns, every amount filled; scale 2
// doubles every count.
#pragma once

namespace vt::sample {

// Fills the open new report at `scale`, in one transaction.
void FillReport(int scale);

}  // namespace vt::sample
