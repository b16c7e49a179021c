// Styles a 50 000-line AVR assembly file with the syntax-file lexer and a 50 000-line C
// file with QScintilla's C++ lexer, then the restyle after one keystroke in the middle.
//
// bench_lexer [syntax file]   (default: ../syntax/AVR_GAS.SYN beside the program)

#include "editor/qscilexerquorvin.h"

#include <Qsci/qscilexercpp.h>
#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const int lineCount = 50000;
const int rounds = 5;

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
    double whole = 0; // ms to style the whole document, best of the rounds
    double keystroke = 0; // ms to restyle after typing one character in the middle
};

double elapsedMs(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

Figures measure(QsciScintilla &editor, const QString &text)
{
    std::vector<double> whole;
    std::vector<double> keystroke;
    for (int round = 0; round < rounds; ++round) {
        editor.setText(text);
        QElapsedTimer timer;
        timer.start();
        editor.SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0, -1);
        whole.push_back(elapsedMs(timer));
        const long length = editor.SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
        if (editor.SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED) != length)
            std::fprintf(stderr, "warning: the document was not styled to its end\n");

        // What painting the edited line asks for after a character is typed mid-file.
        const int line = lineCount / 2 + 1;
        editor.insertAt(QStringLiteral("x"), line, 1);
        const long from = editor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
        const long to = editor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line + 1);
        timer.restart();
        editor.SendScintilla(QsciScintillaBase::SCI_COLOURISE, from, to);
        keystroke.push_back(elapsedMs(timer));
    }
    return {*std::min_element(whole.begin(), whole.end()), *std::min_element(keystroke.begin(), keystroke.end())};
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

    std::printf("%d lines each, best of %d rounds\n", lineCount, rounds);
    std::printf("assembly, QsciLexerQuorvin: %9.1f ms whole document (%lld bytes), %8.1f ms keystroke restyle\n",
                a.whole, static_cast<long long>(assembly.size()), a.keystroke);
    std::printf("C, QsciLexerCPP:            %9.1f ms whole document (%lld bytes), %8.1f ms keystroke restyle\n",
                b.whole, static_cast<long long>(c.size()), b.keystroke);
    std::printf("ratio (syntax-file lexer / C++ lexer): %.2f whole document, %.1f keystroke\n", a.whole / b.whole,
                a.keystroke / b.keystroke);
    return 0;
}
