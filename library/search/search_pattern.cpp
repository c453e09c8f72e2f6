#include "library/search/search_pattern.h"

#include <QString>
#include <QStringList>

bool MatchesPattern(const std::string& patterns, const std::string& name) {
  const QString subject = QString::fromUtf8(name);
  bool anyPattern = false;
  for (const QString& entry : QString::fromUtf8(patterns).split(QLatin1Char(','))) {
    const QString pattern = entry.trimmed();
    if (pattern.isEmpty()) continue;
    anyPattern = true;
    if (pattern.endsWith(QLatin1Char('*'))) {
      if (subject.startsWith(pattern.chopped(1), Qt::CaseInsensitive)) return true;
    } else if (subject.compare(pattern, Qt::CaseInsensitive) == 0) {
      return true;
    }
  }
  return !anyPattern;
}

std::string QualifiedTableName(const char* schema, const char* name) {
  std::string qualified;
  if (schema) {
    qualified = schema;
    qualified += '.';
  }
  if (name) qualified += name;
  return qualified;
}
