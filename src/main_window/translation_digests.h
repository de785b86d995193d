#pragma once
// The SHA-256 (lowercase hex) of a translation file as the build compiled
// it, by file name ("tallymeter_en.qm"); empty for a file the build did not
// make. Defined in a source the build writes from the compiled files.

#include <string_view>

std::string_view ShippedTranslationDigest(std::string_view fileName);
