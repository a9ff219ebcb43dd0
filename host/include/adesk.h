#pragma once

struct Adesk {
  typedef signed char Int8;
  typedef short Int16;
  typedef int Int32;
  typedef unsigned char UInt8;
  typedef unsigned short UInt16;
  typedef unsigned int UInt32;
  typedef long long Int64;
  typedef unsigned long long UInt64;
  typedef long long LongPtr;
  typedef unsigned long long ULongPtr;
  typedef long long IntPtr;
  typedef unsigned long long UIntPtr;
  typedef bool Boolean;
  static const Boolean kFalse = false;
  static const Boolean kTrue = true;
};
