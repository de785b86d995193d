#pragma once
// Qt's own texts (the Yes and No of a question box, the context menu of a
// text field) in Japanese, like every text of the program.

#include <QString>
#include <QStringList>
#include <QTranslator>
#include <memory>

// Where Qt's Japanese translations are looked for, in order: a
// "translations" folder beside the program (where a build that carries its
// own Qt puts them), then the folder of the Qt the program runs with.
QStringList QtTranslationFolders(const QString& programFolder);

// Qt's Japanese translation ("qtbase_ja") from the first of `folders` that
// holds it, installed in the application; nothing when none does (the
// buttons then stay in English, and nothing else changes). The translator
// must live as long as it is to be used.
std::unique_ptr<QTranslator> InstallQtJapanese(const QStringList& folders);
