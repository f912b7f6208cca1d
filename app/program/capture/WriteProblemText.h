#pragma once
// The message that tells the user why a capture's file could not be written, from the program's
// string table: one text for each cause, naming the folder or the file.
#include <afxwin.h>

#include "WriteProblem.h"

CString WriteProblemText(const qelapp::WriteProblem& problem);
