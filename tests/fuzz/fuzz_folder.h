#pragma once
// A folder of the harness's own for the files an input is written to: in
// memory where the system offers it (/dev/shm), removed at exit.

#include <QByteArray>
#include <QString>

// The folder, created on first use.
const QString& FuzzFolder();

// Writes `bytes` to `path` (replacing it); false when that failed.
bool WriteWhole(const QString& path, const QByteArray& bytes);
