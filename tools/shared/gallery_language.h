#pragma once
// The galleries' language: "--english" after the output folder shows the
// windows in English, with the translation from translations/ beside the
// tool (where the build puts the program's).

#include <QCoreApplication>
#include <QTranslator>
#include <cstdio>
#include <cstring>
#include <memory>

// Whether "--english" was asked for; when it was, `translator` holds the
// installed English, or stays empty when there is none to load (the caller
// then stops: a gallery in the wrong language would be misleading).
inline bool GalleryInEnglish(int argc, char** argv, std::unique_ptr<QTranslator>& translator) {
  if (argc < 3 || std::strcmp(argv[2], "--english") != 0) return false;
  auto english = std::make_unique<QTranslator>();
  const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
  if (english->load(QStringLiteral("tallymeter_en"), folder) && QCoreApplication::installTranslator(english.get())) {
    translator = std::move(english);
  } else {
    std::fprintf(stderr, "no tallymeter_en.qm in %s\n", qPrintable(folder));
  }
  return true;
}
