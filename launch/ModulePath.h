#pragma once
// Paths of the files that lie beside the launcher's executable.
#include "framework/ModuleFile.h"

#include <windows.h>

// Cuts path just after its last '\' or '/', keeping the separator; a path
// without either becomes empty.
void CutAfterLastSeparator(wchar_t* path);

// Appends name to the path in buffer. Refuses, leaving buffer unchanged, when the
// result and its terminator would not fit.
bool AppendFileName(PathBuffer& buffer, const wchar_t* name);

// Fills buffer with the folder of the launcher's executable, ending with its
// separator (D:\ for D:\Autorun.exe). False, with buffer empty, when the
// executable's path cannot be read whole: a cut-short path names another folder.
bool GetModuleDirectory(PathBuffer& buffer);

// Module directory + name, when that names an existing file (not a folder).
bool GetTargetPath(PathBuffer& buffer, const wchar_t* name);
