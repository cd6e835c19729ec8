#pragma once
#include <QStringList>

namespace zvtool {
// Each returns the process exit code; args exclude the command word.
int runIndicator(const QStringList &args); // cmd_indicator.cpp
int runDb(const QStringList &args);        // cmd_db.cpp
int runDemoIni(const QStringList &args);   // cmd_demoini.cpp
} // namespace zvtool
