// Text helpers of start-up: the program folder, paths beside the program, the version line; portable.
#pragma once

#include <stddef.h>
#include <stdint.h>

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

enum { TRAY_TIP_SIZE = 64, TRAY_TIP_FORMAT_SIZE = 100 };

// Appends a backslash to a non-empty path that lacks one, if it fits in size bytes.
void PathEnsureBackslash(char *path, size_t size);

// The tip after an activation, cut to the 63 characters a tray tip holds:
// "VROK 95:Shots: 12/Grenades: 3/Last time activated: 14:05:09".
void TrayTipFormatActivation(char *tip, size_t size, uint32_t shots, uint32_t grenades, int hour,
                             int minute, int second);
