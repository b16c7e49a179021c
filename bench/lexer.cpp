// Styles a 50 000-line AVR assembly file with the syntax-file lexer and a 50 000-line C
// file with QScintilla's C++ lexer, then restyles after single keystrokes at places spread
// over the file: the edited line (what painting asks for) and everything down to the end.
//
// bench_lexer [syntax file]   (default: ../syntax/AVR_GAS.SYN beside the program)

#include "editor/qscilexerquorvin.h"

#include <Qsci/qscilexercpp.h>
#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>
#include <functional>

namespace {

const int lineCount = 50000;

QString assemblySource()
{
    const QStringList block = {
        "; ---- routine %1 ----",
        "\t.global routine%1",
        "routine%1:",
        "\tldi r16, 0x%2\t\t; load the pattern",
        "\tldi ZL, lo8(table%1)",
        "\tldi ZH, hi8(table%1)",
        "\tlpm r17, Z+",
        "\tout _SFR_IO_ADDR(PORTB), r16",
        "\tsbis _SFR_IO_ADDR(PINB), 3",
        "\trjmp routine%1",
        "/* wait until the flag clears",
        "   before the next step */",
        "\tdec r17",
        "\tbrne .-4",
        "\tret",
        "table%1:\t.byte 1, 2, 0b101, 'x'",
        "\t.ascii \"text %1\"",
        "",
    };
    QString text;
    text.reserve(lineCount * 24);
    for (int line = 0; line < lineCount; ++line) {
        const int n = line / int(block.size());
        QString content = block.at(line % block.size());
        content.replace(QLatin1String("%1"), QString::number(n));
        content.replace(QLatin1String("%2"), QString::number(n % 256, 16));
        text += content + QLatin1Char('\n');
    }
    return text;
}

QString cSource()
{
    const QStringList block = {
        "/* ---- function %1 ---- */",
        "#define LIMIT_%1 (%1 + 0x10)",
        "static unsigned char buffer%1[16];",
        "",
        "int function%1(int value, const char *name)",
        "{",
        "    int sum = 0; // running total",
        "    for (int i = 0; i < LIMIT_%1; ++i) {",
        "        if (name[i] == 'x')",
        "            sum += value * 3;",
        "        buffer%1[i & 15] = (unsigned char)sum;",
        "    }",
        "    /* report the result",
        "       once */",
        "    printf(\"function %1: %d\\n\", sum);",
        "    return sum;",
        "}",
        "",
    };
    QString text;
    text.reserve(lineCount * 30);
    for (int line = 0; line < lineCount; ++line) {
        QString content = block.at(line % block.size());
        content.replace(QLatin1String("%1"), QString::number(line / int(block.size())));
        text += content + QLatin1Char('\n');
    }
    return text;
}

struct Figures
{
    double whole = 0; // ms to style the whole document
    double keystroke = 0; // ms to restyle the edited line after typing one character, mean
    double toEnd = 0; // ms for a restyle from the edited line to the end of the document, mean
};

double elapsedMs(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// Types one character on `count` consecutive lines at each of five places spread over the
// document, as someone editing a column would; each time the editor is asked for the styles
// up to `to(line)`, as painting would. Before each place the whole document is styled, so
// that everything after the edited line counts as styled, as it does in a painted editor.
double typeAndRestyle(QsciScintilla &editor, int count, const std::function<long(int)> &to)
{
    double total = 0;
    for (int place = 0; place < 5; ++place) {
        editor.SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0, -1);
        const int first = 1 + place * (lineCount - count - 2) / 4;
        for (int line = first; line < first + count; ++line) {
            editor.insertAt(QStringLiteral("x"), line, 1);
            const long from = editor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
            QElapsedTimer timer;
            timer.start();
            editor.SendScintilla(QsciScintillaBase::SCI_COLOURISE, from, to(line));
            total += elapsedMs(timer);
        }
    }
    return total / (5 * count);
}

Figures measure(QsciScintilla &editor, const QString &text)
{
    Figures figures;
    editor.setText(text);
    QElapsedTimer timer;
    timer.start();
    editor.SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0, -1);
    figures.whole = elapsedMs(timer);
    const long length = editor.SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    if (editor.SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED) != length)
        std::fprintf(stderr, "warning: the document was not styled to its end\n");

    figures.keystroke = typeAndRestyle(editor, 40, [&editor](int line) {
        return editor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line + 1);
    });
    figures.toEnd = typeAndRestyle(editor, 2, [](int) { return -1L; });
    return figures;
}

void report(const char *name, double value, double baseline)
{
    std::printf("RESULT %s\t%.6g\t%.6g\tms\n", name, value, baseline);
}

}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    const QString syntaxFile = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                        : QCoreApplication::applicationDirPath() + "/../syntax/AVR_GAS.SYN";
    if (!QFileInfo::exists(syntaxFile)) {
        std::fprintf(stderr, "syntax file not found: %s\n", qPrintable(syntaxFile));
        return 1;
    }

    const QString assembly = assemblySource();
    const QString c = cSource();

    QsciScintilla asmEditor;
    asmEditor.setUtf8(true);
    auto *quorvin = new QsciLexerQuorvin(&asmEditor);
    quorvin->loadSyntaxFile(syntaxFile, Qt::CaseInsensitive);
    asmEditor.setLexer(quorvin);

    QsciScintilla cEditor;
    cEditor.setUtf8(true);
    cEditor.setLexer(new QsciLexerCPP(&cEditor));

    const Figures a = measure(asmEditor, assembly);
    const Figures b = measure(cEditor, c);

    std::printf("%d lines each\n", lineCount);
    std::printf("assembly, QsciLexerQuorvin: %9.2f ms whole document (%lld bytes), %8.4f ms keystroke, %8.3f ms to the end\n",
                a.whole, static_cast<long long>(assembly.size()), a.keystroke, a.toEnd);
    std::printf("C, QsciLexerCPP:            %9.2f ms whole document (%lld bytes), %8.4f ms keystroke, %8.3f ms to the end\n",
                b.whole, static_cast<long long>(c.size()), b.keystroke, b.toEnd);
    report("highlighting: one keystroke, edited line (vs QsciLexerCPP)", a.keystroke, b.keystroke);
    report("highlighting: one keystroke, restyle to the end (vs QsciLexerCPP)", a.toEnd, b.toEnd);
    report("highlighting: whole 50000-line document (vs QsciLexerCPP)", a.whole, b.whole);
    return 0;
}
