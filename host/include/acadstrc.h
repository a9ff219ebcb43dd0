#pragma once

struct Acad {
  enum ErrorStatus {
    eOk = 0,
    eNotImplementedYet = 1,
    eNotApplicable = 2,
    eInvalidInput = 3,
    eKeyNotFound = 5,
    eDuplicateKey = 6,
    eNullPtr = 7,
    eWasErased = 11,
    eNotThatKindOfClass = 20,
    eInvalidContext = 44,
  };
};
