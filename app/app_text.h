// Text helpers of start-up: the program folder, paths beside the program, the version line; portable.
#pragma once

#include <stddef.h>

enum { DESCRIPTION_LINE_SIZE = 100, DESCRIPTION_LINE_COUNT = 9 };

// Copies the drive and directory of modulePath (everything up to and including the last
// backslash or slash) into folder. A path without either gives an empty folder. Returns 0 when
// the folder does not fit (folder is then empty), 1 otherwise.
int ProgramFolderFromPath(const char *modulePath, char *folder, size_t size);

// out = folder + name. Returns 0 (out empty) when the result would not fit.
int PathJoin(char *out, size_t size, const char *folder, const char *name);

// Formats a description line holding "%u.%u" with the version; other lines stay as they are.
// The result is cut to fit the line.
void DescriptionFormatVersion(char *line, size_t size, unsigned versionMajor, unsigned versionMinor);

// Copies path into out (outSize bytes); a path that does not fit keeps its end, where the file
// name is, behind "...".
void PathShortenFromLeft(const char *path, char *out, size_t outSize);
