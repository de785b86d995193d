#pragma once
// The header lines of the on-screen log and of TXT and CSV log files.
// Every blank counts: the columns of the gain lines line up under them.

#include <QString>

QString ScreenHeader();
QString TxtFileHeader();
QString CsvFileHeader();

// The file header for the chosen format.
inline QString FileHeader(bool saveCsv) { return saveCsv ? CsvFileHeader() : TxtFileHeader(); }
