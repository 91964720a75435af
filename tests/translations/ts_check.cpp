// Checks Qt translation files: every text translated (none unfinished, none left over from texts that are
// gone), and every translation keeps the placeholders (%1..%9) of its source text.
// usage: ts_check FILE.ts...   Exit status 1 and one line per fault when a file is not complete.
#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <cstdio>

namespace {

struct Message {
  QString context;
  QString source;
  QString translation;
  QString type;  // "", "unfinished", "vanished", "obsolete"
};

QStringList Placeholders(const QString& text) {
  static const QRegularExpression placeholder(QStringLiteral("%[1-9]"));
  QStringList found;
  for (auto match = placeholder.globalMatch(text); match.hasNext();)
    found << match.next().captured();
  found.sort();
  return found;
}

QString FaultOf(const Message& message) {
  if (message.type == QLatin1String("vanished") || message.type == QLatin1String("obsolete"))
    return QStringLiteral("no longer in the sources");
  if (message.type == QLatin1String("unfinished") || message.translation.isEmpty())
    return QStringLiteral("not translated");
  if (Placeholders(message.source) != Placeholders(message.translation))
    return QStringLiteral("placeholders differ: \"%1\"").arg(message.translation);
  return {};
}

// Number of faults in the file, each printed; -1 when the file cannot be read.
int CheckFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "%s: cannot read the file\n", qPrintable(path));
    return -1;
  }
  QXmlStreamReader xml(&file);
  QString context;
  Message message;
  int faults = 0, messages = 0;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
      ++messages;
      if (const QString fault = FaultOf(message); !fault.isEmpty()) {
        std::printf("%s: %s: \"%s\": %s\n", qPrintable(path), qPrintable(message.context),
                    qPrintable(message.source), qPrintable(fault));
        ++faults;
      }
    }
    if (!xml.isStartElement()) continue;
    if (xml.name() == QLatin1String("name")) context = xml.readElementText();
    if (xml.name() == QLatin1String("message")) message = Message{context, {}, {}, {}};
    if (xml.name() == QLatin1String("source")) message.source = xml.readElementText();
    if (xml.name() == QLatin1String("translation")) {
      message.type = xml.attributes().value(QLatin1String("type")).toString();
      message.translation = xml.readElementText();
    }
  }
  if (xml.hasError()) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(xml.errorString()));
    return -1;
  }
  if (messages == 0) {
    std::fprintf(stderr, "%s: no texts at all\n", qPrintable(path));
    return -1;
  }
  return faults;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  const QStringList files = QCoreApplication::arguments().mid(1);
  bool complete = !files.isEmpty();
  for (const QString& path : files)
    complete = CheckFile(path) == 0 && complete;
  return complete ? 0 : 1;
}
