#include "monitoring/monitoring_texts.h"

Notice GameMissingNotice() { return Notice{kGameTitle + QStringLiteral("が起動していません"), QStringLiteral("エラー")}; }
