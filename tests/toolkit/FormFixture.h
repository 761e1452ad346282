// A shown form to put controls on, and message helpers that act as the user would: keys and
// characters sent to a window, clicks at a point.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "toolkit/ui/Application.h"
#include "toolkit/ui/Form.h"

class FormFixture : public testing::Test {
 protected:
  void SetUp() override {
    form_ = new TForm(nullptr);
    form_->SetBounds(20, 20, 500, 400);
    form_->Show();
    Application->ProcessMessages();
  }
  void TearDown() override {
    form_->Free();
    Application->ProcessMessages();
  }
  template <class T>
  T* Add(int left, int top, int width, int height) {
    T* control = new T(form_);
    control->SetParent(form_);
    control->SetBounds(left, top, width, height);
    return control;
  }
  static void Key(HWND window, WORD key) {
    SendMessageW(window, WM_KEYDOWN, key, 0);
    SendMessageW(window, WM_KEYUP, key, 0);
    Application->ProcessMessages();
  }
  static void Type(HWND window, const std::wstring& text) {
    for (wchar_t c : text) SendMessageW(window, WM_CHAR, c, 0);
    Application->ProcessMessages();
  }
  static void Click(HWND window, int x, int y) {
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    Application->ProcessMessages();
  }

  TForm* form_ = nullptr;
};
