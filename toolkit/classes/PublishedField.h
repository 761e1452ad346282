// Accessors for published properties kept in plain data members (events held as public fields,
// settings without a setter of their own), for TClassBuilder tables:
//   .Property("OnClick", FieldGet<&TChart::OnClick>, FieldSet<&TChart::OnClick>)
// The getter returns a copy; the setter stores the value as given.
#pragma once

#include <utility>

template <auto Member>
inline constexpr auto FieldGet = [](auto& object) { return object.*Member; };

template <auto Member>
inline constexpr auto FieldSet = [](auto& object, auto value) { object.*Member = std::move(value); };
