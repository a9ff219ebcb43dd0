#pragma once

#include "accmd.h"
#include "acedads.h"
#include "acutads.h"
#include "aceditor.h"  // AcEditor, AcEditorReactor
