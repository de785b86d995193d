// Started from the unzipped package, beside Tallymeter.exe: the look a player
// gets there, with the same Qt DLLs, plugins and translations the program
// finds. Prints, one per line: the application's style, the buttons of a
// yes/no question as the program asks it, and the log font with whether it
// lines up the log's columns.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStyle>
#include <QTimer>
#include <cstdio>

#include "dialogs/qt_message_boxes.h"
#include "main_window/log_font.h"
#include "main_window/qt_translations.h"

namespace {

void Print(const QString& line) {
  std::printf("%s\n", line.toUtf8().constData());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // As main.cpp does it.
  const auto qtJapanese = InstallQtJapanese(QtTranslationFolders(QCoreApplication::applicationDirPath()));
  Print(QStringLiteral("style=") + QApplication::style()->name());

  // The question is answered as soon as it shows, after its buttons are read.
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&answer] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    answer.stop();
    Print(QStringLiteral("buttons=") + box->button(QMessageBox::Yes)->text() + QLatin1Char('/') +
          box->button(QMessageBox::No)->text());
    box->button(QMessageBox::No)->click();
  });
  answer.start(50);
  QtMessageBoxes boxes;
  boxes.AskYesNo(QStringLiteral("前回の測定を続けますか？"), QStringLiteral("測定の再開"));

  const QFont font = LogFont();
  Print(QStringLiteral("font=") + font.family() + QStringLiteral(" aligned=") +
        (AlignsLogColumns(font) ? QStringLiteral("1") : QStringLiteral("0")));
  return 0;
}
