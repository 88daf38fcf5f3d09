#include "app/WindowArguments.h"

#ifdef _WIN32
#include <windows.h>
// after windows.h
#include <shellapi.h>
#endif

TWindowArguments ReadWindowArguments(const QStringList& arguments) {
  TWindowArguments read{arguments, std::nullopt, QString()};
  const QString option = QStringLiteral("--job-file");
  for (qsizetype at = 1; at < arguments.size(); ++at) {
    const QString& word = arguments[at];
    QString path;
    if (word == option) {
      if (at + 1 == arguments.size()) {
        read.usageError = option + " needs the path of the job file to write.";
        return read;
      }
      path = arguments[++at];
    } else if (word.startsWith(option + '=')) {
      path = word.mid(option.size() + 1);
    } else {
      continue;  // anything else after the model is ignored, as it always was
    }
    if (path.trimmed().isEmpty()) {
      read.usageError = option + " needs the path of the job file to write.";
      return read;
    }
    if (read.jobFile && *read.jobFile != path) {
      read.usageError = option + " is given twice, with two paths.";
      return read;
    }
    read.jobFile = path;
  }
  return read;
}

QStringList CallerArguments(int argc, char** argv) {
  QStringList words;
#ifdef _WIN32
  (void)argc, (void)argv;  // the 8-bit argv would lose what the code page lacks
  int count = 0;
  if (LPWSTR* all = ::CommandLineToArgvW(::GetCommandLineW(), &count)) {
    for (int i = 1; i < count; ++i)
      words << QString::fromWCharArray(all[i]);
    ::LocalFree(all);
  }
#else
  for (int i = 1; i < argc; ++i)
    words << QString::fromLocal8Bit(argv[i]);
#endif
  return words;
}
