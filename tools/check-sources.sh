#!/usr/bin/env bash
# Source rules that the compiler does not check: the core stays free of Qt, and the windows show message
# boxes and file dialogs only through their wrappers (so that every box can be logged and answered by tests),
# and their texts are translatable.
set -euo pipefail
cd "$(dirname "$0")/.."

status=0
if grep -rEn '#include\s*<Q|#include\s*"Q|Q_OBJECT' core/ ; then
  echo "check-sources: core/ must not use Qt" >&2
  status=1
fi
if grep -rEn 'QMessageBox::(information|warning|critical|question|about)|QFileDialog::get|QMessageBox [a-z]|QFileDialog [a-z]' gui/ \
    | grep -vE '^gui/app/(message_dialog|file_dialog)\.cpp:|^gui/main\.cpp:'; then
  echo "check-sources: gui/ shows message boxes and file dialogs through gui/app/message_dialog.h and file_dialog.h" >&2
  status=1
fi
# A text put straight into a control, a menu or a box escapes the translations.
shown='(setText|setWindowTitle|setTitle|setToolTip|setPlaceholderText|setAccessibleName|addItem|addAction|addMenu|addTab|ShowMessageDialog|ShowMessageBox|showMessage)\((QStringLiteral|QString::fromLatin1|QLatin1String)?\(?"[^"]*[A-Za-z]{2}'
if grep -rEn "$shown" gui/ report/ | grep -vE 'objectName|// data'; then
  echo "check-sources: texts shown by the windows go through tr() or QCoreApplication::translate" >&2
  status=1
fi
exit $status
