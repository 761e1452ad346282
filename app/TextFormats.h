// The process-wide text formats the recorder fixes before anything else runs, so every date,
// time and number text it writes into SQL, grids and file names has one form whatever the
// system's regional settings are.
#pragma once

// Date separator "-", date formats "yyyy-mm-dd", time separator ":", time formats "hh:mm:ss",
// currency "￥" with 2 decimals, decimal separator ".".
void FixTextFormats();
