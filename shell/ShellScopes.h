// Scope guards the shell controls share: the hourglass while a shell operation runs.
#pragma once

#include "toolkit/ui/Screen.h"

// The hourglass while a shell operation runs; the previous cursor comes back on every path.
class THourGlass {
 public:
  THourGlass() : saved_(Screen ? Screen->Cursor() : crDefault) {
    if (Screen) Screen->SetCursor(crHourGlass);
  }
  ~THourGlass() {
    if (Screen) Screen->SetCursor(saved_);
  }
  THourGlass(const THourGlass&) = delete;
  THourGlass& operator=(const THourGlass&) = delete;

 private:
  TCursor saved_;
};
