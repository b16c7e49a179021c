#include "editor/gotolinedialog.h"

#include <QValidator>
#include <Qsci/qsciscintilla.h>

namespace {

// Digits only, no leading zero (so no line 0), and never above the last line.
class LineNumberValidator : public QValidator
{
public:
    LineNumberValidator(int lineCount, QObject *parent) : QValidator(parent), lineCount(lineCount) {}

    State validate(QString &input, int &position) const override
    {
        if (input.isEmpty())
            return Intermediate;
        for (const QChar character : std::as_const(input)) {
            if (character < QLatin1Char('0') || character > QLatin1Char('9'))
                return Invalid;
        }
        if (input.startsWith(QLatin1Char('0')))
            return Invalid;
        bool fits = false;
        const int number = input.toInt(&fits);
        if (!fits || number > lineCount) {
            input = QString::number(lineCount);
            position = int(input.size());
        }
        return Acceptable;
    }

private:
    int lineCount;
};

}

GotoLineDialog::GotoLineDialog(QWidget *parent) : QuorvinDialog(parent)
{
    ui.setupUi(this);
    connect(ui.buttonBox, &QDialogButtonBox::accepted, this, &GotoLineDialog::accept);
    connect(ui.buttonBox, &QDialogButtonBox::rejected, this, &GotoLineDialog::reject);
}

void GotoLineDialog::setEditor(QsciScintilla *target)
{
    editor = target;
    const int lines = target ? qMax(1, target->lines()) : 1;
    ui.linesLabel->setText(tr("Line number (1 - %1)").arg(lines));
    delete ui.lineEdit->validator();
    ui.lineEdit->setValidator(new LineNumberValidator(lines, ui.lineEdit));
    QString text = ui.lineEdit->text();
    int position = 0;
    if (ui.lineEdit->validator()->validate(text, position) == QValidator::Invalid)
        text.clear();
    ui.lineEdit->setText(text);
    ui.lineEdit->selectAll();
    ui.lineEdit->setFocus();
}

void GotoLineDialog::accept()
{
    const QString entry = ui.lineEdit->text();
    if (editor && !entry.isEmpty()) {
        const int lines = qMax(1, editor->lines());
        const int line = qBound(1, entry.toInt(), lines) - 1;
        const QString text = editor->text(line);
        // Leading blanks are single bytes, so their count is also the editor's column.
        int column = 0;
        while (column < text.size() && (text.at(column) == QLatin1Char(' ') || text.at(column) == QLatin1Char('\t')))
            ++column;
        if (column == text.size() || text.at(column) == QLatin1Char('\r') || text.at(column) == QLatin1Char('\n'))
            column = 0;
        editor->setCursorPosition(line, column);
        editor->ensureLineVisible(line);
        editor->setFocus();
    }
    QDialog::accept();
}
