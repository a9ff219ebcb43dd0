#pragma once

struct Adesk {
  typedef signed char Int8;
  typedef short Int16;
  typedef long Int32;
  typedef unsigned char UInt8;
  typedef unsigned short UInt16;
  typedef unsigned long UInt32;
  typedef long long Int64;
  typedef unsigned long long UInt64;
  typedef long long LongPtr;
  typedef unsigned long long ULongPtr;
  typedef long long IntPtr;
  typedef unsigned long long UIntPtr;
  // As on 64-bit Windows: an int, its two values in an enum.
  typedef int Boolean;
  enum { kFalse = 0, kTrue = 1 };
};
