#pragma once
// What the harnesses share: a folder of their own for the files an input is
// written to (in memory where the system offers it, /dev/shm, removed at
// exit), and the way a finding ends the run.

#include <QByteArray>
#include <QString>

// The folder, created on first use.
const QString& FuzzFolder();

// Writes `bytes` to `path` (replacing it); false when that failed.
bool WriteWhole(const QString& path, const QByteArray& bytes);

// A finding unless `condition` holds: says `what` and aborts.
void Require(bool condition, const char* what);
