#pragma once

struct Acad {
  enum ErrorStatus {
    eOk = 0,
    eNotImplementedYet = 1,
    eNotApplicable = 2,
    eInvalidInput = 3,
    // Numbered as the SDK numbers them.
    eKeyNotFound = 22,
    eDuplicateKey = 23,
    eNotThatKindOfClass = 46,
    eWasErased = 80,
    eInvalidContext = 335,
    eNullPtr = 506,
  };
};
