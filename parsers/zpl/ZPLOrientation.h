#pragma once
// The orientation letters of ZPL and the rotation each stands for, as records
// carry it: N 0, B 90, I 180, R 270, anything else 0. Both dialects' text and
// barcode readers and writers use them.

inline bool IsZplOrientation(wchar_t letter) {
  return letter == L'N' || letter == L'R' || letter == L'I' || letter == L'B';
}

inline const wchar_t* ZplOrientationDegrees(wchar_t letter) {
  switch (letter) {
    case L'B':
      return L"90";
    case L'I':
      return L"180";
    case L'R':
      return L"270";
    default:
      return L"0";
  }
}
