// What the windows show, as assistive technologies (screen readers, test automation) read it through
// Qt's accessibility interfaces.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QtTest>
#include <algorithm>
#include <utility>

#include "gui/app/app.h"
#include "gui/app/main_form.h"
#include "gui/link/eeprom_form.h"
#include "support/gui_test_support.h"

using namespace qd::gui;
using namespace qd::gui::test;

namespace {

QString AccessibleName(QWidget* widget) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
  return face != nullptr ? face->text(QAccessible::Name) : QString();
}

// What the eye reads on a label: its text without the mnemonic's '&', or the plain text of rich text.
QString VisibleText(const QLabel* label) {
  QString text = label->text();
  if (Qt::mightBeRichText(text)) {
    QTextDocument document;
    document.setHtml(text);
    return document.toPlainText();
  }
  return text.replace(QStringLiteral("&&"), QStringLiteral("\x01"))
      .remove(QLatin1Char('&'))
      .replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

// An input's name. On Linux a combo box's accessible name is its current text (its label is a relation):
// there the name is the one given, or the buddy label's text.
QString InputName(QWidget* widget, const QWidget* window) {
  if (!qobject_cast<const QComboBox*>(widget)) return AccessibleName(widget);
  if (!widget->accessibleName().isEmpty()) return widget->accessibleName();
  for (const QLabel* label : window->findChildren<QLabel*>())
    if (label->buddy() == widget) return VisibleText(label);
  return {};
}

// Whether a widget is a part of another control (a view's header or corner button, a combo box's list).
bool IsPart(const QWidget* widget) {
  for (const QWidget* up = widget->parentWidget(); up != nullptr; up = up->parentWidget())
    if (qobject_cast<const QAbstractItemView*>(up) || qobject_cast<const QComboBox*>(up)) return true;
  return false;
}

bool IsInput(const QWidget* widget) {
  return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QComboBox*>(widget) ||
         qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QAbstractButton*>(widget) ||
         qobject_cast<const QAbstractItemView*>(widget) || qobject_cast<const QPlainTextEdit*>(widget);
}

// The faults of one window: labels whose name is not their text, inputs without a name or out of Tab's
// reach, and names that two inputs the window shows share.
QStringList FaultsOf(QWidget* window) {
  QStringList faults;
  QMap<QString, QString> inputNames;  // name -> object name of the first input with it
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    const QString where = window->objectName() + QStringLiteral(" / ") + widget->objectName();
    if (const auto* label = qobject_cast<const QLabel*>(widget); label && !label->text().isEmpty()) {
      if (AccessibleName(widget) != VisibleText(label))
        faults << QStringLiteral("%1: label \"%2\" reads \"%3\"")
                      .arg(where, VisibleText(label), AccessibleName(widget));
      continue;
    }
    if (!IsInput(widget) || IsPart(widget) || !widget->isVisibleTo(window)) continue;
    if (widget->objectName().startsWith(QLatin1String("qt_"))) continue;  // Qt's own, such as a menu bar's »
    const bool indicator = widget->testAttribute(Qt::WA_TransparentForMouseEvents);  // shows, takes nothing
    if (!indicator && !(widget->focusPolicy() & Qt::TabFocus))
      faults << QStringLiteral("%1: Tab does not reach it").arg(where);
    const QString name = InputName(widget, window);
    if (name.isEmpty()) {
      faults << QStringLiteral("%1: input without a name").arg(where);
    } else if (inputNames.contains(name)) {
      faults << QStringLiteral("%1: shares the name \"%2\" with %3").arg(where, name, inputNames[name]);
    } else {
      inputNames.insert(name, widget->objectName());
    }
  }
  return faults;
}

QRect PlaceIn(const QWidget* window, const QWidget* widget) {
  return {widget->mapTo(window, QPoint()), widget->size()};
}

// The inputs Tab visits in `window`, in the order it visits them, from the top left one (Tab goes round).
QList<QWidget*> TabChain(QWidget* window) {
  QList<QWidget*> chain;
  for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
    if (IsInput(w) && !IsPart(w) && w->isVisibleTo(window) && (w->focusPolicy() & Qt::TabFocus) &&
        !w->objectName().startsWith(QLatin1String("qt_")))
      chain << w;
  }
  const auto first = std::min_element(chain.begin(), chain.end(), [window](QWidget* a, QWidget* b) {
    const QRect pa = PlaceIn(window, a), pb = PlaceIn(window, b);
    return std::pair(pa.top(), pa.left()) < std::pair(pb.top(), pb.left());
  });
  std::rotate(chain.begin(), first, chain.end());
  return chain;
}

// Where Tab goes against the reading order: up and to the left of where it was.
QStringList TabOrderFaultsOf(QWidget* window) {
  QStringList faults;
  const QList<QWidget*> chain = TabChain(window);
  constexpr int Slack = 4;  // pixels of the same row or column
  for (qsizetype i = 1; i < chain.size(); ++i) {
    const QRect from = PlaceIn(window, chain[i - 1]), to = PlaceIn(window, chain[i]);
    const bool below = to.top() >= from.top() - Slack;
    const bool right = to.left() >= from.right() - Slack;
    if (!below && !right)
      faults << QStringLiteral("%1: Tab goes back from %2 to %3")
                    .arg(window->objectName(), chain[i - 1]->objectName(), chain[i]->objectName());
  }
  return faults;
}

class AccessibilityTest : public QObject {
  Q_OBJECT

 private slots:
  void everyWindowNamesWhatItShowsAndTabFollowsTheReadingOrder() {
    AppFixture f;
    QStringList faults;
    for (QWidget* window : EveryWindow(f.app)) {
      faults << FaultsOf(window);
      window->show();  // laid out, for the places of its controls
      faults << TabOrderFaultsOf(window);
      window->hide();
    }
    for (const QString& fault : faults)
      qWarning("%s", qPrintable(fault));
    QCOMPARE(faults.size(), 0);
  }

  // The read/write window's result reaches a screen reader. (Its announcement cannot be watched here:
  // without a platform accessibility bridge, Qt drops accessibility events before any handler.)
  void theResultOfAReadIsReadOut() {
    Simulator sim;
    AppFixture f;
    QVERIFY(f.ReadFromController(sim));
    auto* status =
        f.app.Eeprom().findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(TEEPROMForm::TransferPanel));
    QVERIFY(status != nullptr);
    QCOMPARE(AccessibleName(status), QStringLiteral("Read completed"));
    QCOMPARE(QAccessible::queryAccessibleInterface(status)->text(QAccessible::Description),
             QStringLiteral("Transfer status"));
  }
};

}  // namespace

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
