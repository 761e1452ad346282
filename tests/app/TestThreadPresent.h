// Makes AcqThread non-null for a scope: "a test thread exists", as from the start button until the
// thread has ended, for the refusals of commands that must not run meanwhile. Nothing may call the
// pretended thread; code under test only compares the pointer with null.
#pragma once

#include "app/AppGlobals.h"

class TestThreadPresent {
 public:
  TestThreadPresent() { AcqThread = reinterpret_cast<TsmThread_gz*>(this); }
  ~TestThreadPresent() { AcqThread = nullptr; }
  TestThreadPresent(const TestThreadPresent&) = delete;
  TestThreadPresent& operator=(const TestThreadPresent&) = delete;
};
