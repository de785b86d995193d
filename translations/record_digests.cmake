# cmake -DOUTPUT=<file.cpp> -DQM_FILES=<a.qm;b.qm> -P record_digests.cmake
# Writes the SHA-256 of every translation the build ships into a source file
# of the program: a .qm damaged after it was shipped is then known before Qt
# reads it (Qt trusts a file that passes its magic, and a lookup in a damaged
# one can crash every start).
set(entries "")
foreach(qm IN LISTS QM_FILES)
  file(SHA256 ${qm} digest)
  get_filename_component(name ${qm} NAME)
  string(APPEND entries "      {\"${name}\", \"${digest}\"},\n")
endforeach()
set(text "// Written by the build from the translations it compiled; not edited by hand.\n")
string(APPEND text "#include \"main_window/translation_digests.h\"\n\n#include <utility>\n\n")
string(APPEND text "std::string_view ShippedTranslationDigest(std::string_view fileName) {\n")
string(APPEND text "  static constexpr std::pair<std::string_view, std::string_view> kShipped[] = {\n${entries}  };\n")
string(APPEND text "  for (const auto& [name, digest] : kShipped) {\n    if (name == fileName) return digest;\n  }\n  return {};\n}\n")
# Only a changed digest rebuilds what links it.
file(WRITE ${OUTPUT}.new "${text}")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
