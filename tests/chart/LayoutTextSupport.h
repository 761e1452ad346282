// Layout text helpers for the chart tests: a component written as layout text, layout text read
// into a component, and the lines of a layout that set one property path.
#pragma once

#include <sstream>
#include <string>

#include "toolkit/classes/ObjectText.h"
#include "toolkit/classes/Streams.h"

// The layout text `component` writes.
inline std::string LayoutText(TComponent& component) {
  TMemoryStream stream;
  stream.WriteComponent(&component);
  std::string binary(static_cast<size_t>(stream.Size()), '\0');
  stream.SetPosition(0);
  stream.ReadBuffer(binary.data(), stream.Size());
  return ObjectBinaryToText(binary);
}

// Reads layout text into an existing component (its classes must be registered).
inline void ReadLayoutInto(const std::string& text, TComponent& into) {
  TMemoryStream stream;
  const std::string binary = ObjectTextToBinary(text);
  stream.WriteBuffer(binary.data(), static_cast<long long>(binary.size()));
  stream.SetPosition(0);
  stream.ReadComponent(&into);
}

// The layout lines that start with `path` (after the indentation).
inline std::string LinesStartingWith(const std::string& text, const std::string& path) {
  std::istringstream in(text);
  std::string line, out;
  while (std::getline(in, line)) {
    const size_t start = line.find_first_not_of(' ');
    if (start != std::string::npos && line.compare(start, path.size(), path) == 0) out += line + "\n";
  }
  return out;
}
