#pragma once
// File-system helpers. On POSIX the separator is "/" and the only "drive" is
// the root of the file system. On Windows the backslash and "/" both
// separate, a drive is "X:" or a network share (two backslashes, server,
// share), and the folders handed back are written with backslashes.

#include <QByteArray>
#include <QString>

// Creates every missing folder along `path` (with or without a trailing
// "/"). Returns false when a folder could not be created.
bool MakeFolders(const QString& path);

// A path names a file when its fourth-last character is "." (a three-letter
// extension such as .ini, .txt, .csv) or when it ends with ".*"; otherwise it
// names a folder. True when that file, or that folder, exists; "name.*" is
// true when some file "name.<extension>" exists.
bool PathExists(const QString& path);

// Turns a folder path typed by the user into one that can be used: a
// trailing "/" is dropped without any check; otherwise the longest existing
// prefix (cut two characters at a time) as the file system spells it; as a
// last resort (an empty or two-character text naming nothing) the program
// folder on POSIX, since a platform without drives has no program drive to
// offer. On Windows a typed drive ("D:") comes back as it is when it exists,
// and the last resort is the program folder's drive.
QString NearestFolder(const QString& path, const QString& programFolder);

// Whether `name` can be used as it stands as the name of one file in a
// folder, here and on Windows: not empty of meaning (not "." or ".."), no
// separator ("/" or "\\"), no ".." anywhere, no drive (":"), and none of the
// characters Windows refuses in a name (< > " | ? * and control characters).
// An empty name is usable: something is always added to it.
bool FileNameUsable(const QString& name);

// Whether a new file may be put at `path`: nothing is there, or a regular
// file (links followed). A device or a pipe would swallow what is written
// and keep nothing, and putting a file in its place could take a device
// away from the whole system.
bool ReplaceableFile(const QString& path);

// Replaces the file at `path` with `bytes`: written beside it and put in its
// place only when complete, then read back. True only when the file then
// holds exactly `bytes`; nothing is written where ReplaceableFile is false.
bool ReplaceFile(const QString& path, const QByteArray& bytes);
