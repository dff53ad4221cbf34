#!/usr/bin/env python3
"""Mutation check over score/, window/ and resources/: each mutant is one single-point
change to a comparison, a bound, a condition or a call. It is applied in the
source tree, the test build is rebuilt and the whole suite runs; the mutant
is killed when a test fails. The source is restored after each mutant.

    tools/mutation.py SOURCE_DIR BUILD_DIR REPORT.json [MUTANT_ID...]

BUILD_DIR is a configured test build of SOURCE_DIR (./test.sh makes
build/test). Use a checkout of its own: the sources change while it runs.
Prints each mutant with the tests that killed it, and writes the same as JSON.
A mutant whose text is no longer in its file is reported as such: the list
follows the code and is updated with it.
"""
import json
import os
import re
import subprocess
import sys

# (id, file, text, mutated text)
MUTANTS = [
 ("rules-lower-bound", "score/scorerules.cpp", "value > 0.0", "value >= 0.0"),
 ("rules-upper-bound", "score/scorerules.cpp", "value <= rule.upperBound", "value < rule.upperBound"),
 ("rules-four-edge", "score/scorerules.cpp", "if (value >= rule.fourPoints)", "if (value > rule.fourPoints)"),
 ("rules-two-edge", "score/scorerules.cpp", "if (value >= rule.twoPoints)", "if (value > rule.twoPoints)"),
 ("rules-dip-case", "score/scorerules.cpp", "Qt::CaseInsensitive", "Qt::CaseSensitive"),
 ("rules-dip-trim", "score/scorerules.cpp", "text.trimmed()", "text"),
 ("reader-space-allowed", "score/numberreader.cpp", "^[ -~ \\\\t", "^[!-~\\\\t"),
 ("reader-any-digit", "score/numberreader.cpp", "    if (match.captured(u\"integer\").isEmpty() && match.captured(u\"fraction\").isEmpty())\n", "    if (false)\n"),
 ("reader-exp-sign", "score/numberreader.cpp", "return written.startsWith(u'-') ? -exponent : exponent;", "return exponent;"),
 ("reader-overflow", "score/numberreader.cpp", "magnitude + exponent > 0", "magnitude + exponent >= 0"),
 ("reader-exp-rewind", "score/numberreader.cpp", "(?<exponent>[+-]?[0-9]+)", "(?<exponent>[+-]?[0-9]*)"),
 ("reader-blanks-before-unit", "score/numberreader.cpp", "    while (!unit.isEmpty() && isBlank(unit.front()))\n        unit = unit.mid(1);\n", ""),
 ("reader-two-ways-exponent", "score/numberreader.cpp", "exponent.isEmpty() && twoWays.hasMatch()", "twoWays.hasMatch()"),
 ("reader-two-ways-leading-zero", "score/numberreader.cpp", "(?<written>[1-9][0-9]{0,2}", "(?<written>[0-9][0-9]{0,2}"),
 ("limit-below-edge", "score/scorerules.cpp", "if (low < e && e <= high)", "if (low <= e && e <= high)"),
 ("limit-at-most-edge", "score/scorerules.cpp", "if (low < e && e <= high)", "if (low < e && e < high)"),
 ("limit-above-edge", "score/scorerules.cpp", "std::max(inclusive ? limit : std::nextafter(limit, kInfinity), least)", "std::max(limit, least)"),
 ("limit-below-exclusive", "score/scorerules.cpp", "std::min(inclusive ? limit : std::nextafter(limit, -kInfinity), rule.upperBound)", "std::min(limit, rule.upperBound)"),
 ("limit-nearest-edge", "score/scorerules.cpp", "edge = below ? std::max(edge, e) : std::min(edge, e);", "edge = e;"),
 ("limit-none", "score/scorerules.cpp", "if (!(low <= high))", "if (false)"),
 ("limit-none-above", "score/scorerules.cpp", "        ? rule.upperBound\n", "        ? kInfinity\n"),
 ("limit-least-positive", "score/scorerules.cpp", "std::nextafter(0.0, kInfinity)", "std::numeric_limits<double>::min()"),
 ("limit-settled", "score/scorerules.cpp", "if (points == valuePoints(high, rule))", "if (points == valuePoints(low, rule))"),
 ("reader-comparator-no-number", "score/numberreader.cpp", "    if (std::none_of(limit.begin(), limit.end(), isDigit))\n        return {};\n", ""),
 ("reader-unit-case", "score/numberreader.cpp", "c.unicode() < 0x80 ? c.toLower().unicode()", "c.unicode() < 0x80 ? c.unicode()"),
 ("reader-unit-micro", "score/numberreader.cpp", "    if (c == u'\\u00B5' || c == u'\\u03BC')\n        return u'u';\n", ""),
 ("reader-comparator-order", "score/numberreader.cpp", "(?<comparator><=|>=|<|>|", "(?<comparator><|>|<=|>=|"),
 ("reader-comparator-start", "score/numberreader.cpp", "\"^[ \\\\t\\\\r\\\\n\\\\x{A0}]*(?<comparator>", "\"[ \\\\t\\\\r\\\\n\\\\x{A0}]*(?<comparator>"),
 ("reader-comparator-meaning", "score/numberreader.cpp", "    if (written == u\"<\")\n        return Comparator::Below;", "    if (written == u\"<\")\n        return Comparator::AtMost;"),
 ("calc-limit-read-as-value", "score/calculation.cpp", "reading.comparator != Comparator::None", "false"),
 ("breakdown-comparator", "score/scorebreakdown.cpp", "v.comparator + decimal(v.value)", "decimal(v.value)"),
 ("calc-order", "score/calculation.cpp", "{Entry::Crp, Entry::Pct, Entry::Dipstick}", "{Entry::Pct, Entry::Crp, Entry::Dipstick}"),
 ("calc-refuse-focus", "score/calculation.cpp", "            outcome.warnings.append(*warning);\n            outcome.focus = controlOf(entry);\n", "            outcome.warnings.append(*warning);\n"),
 ("calc-score-withheld", "score/calculation.cpp", "    if (outcome.warnings.isEmpty())\n", "    if (true)\n"),
 ("calc-next-focus", "score/calculation.cpp", "} else if (entry != Entry::Dipstick) {", "} else {"),
 ("calc-written-one-line", "score/calculation.cpp", "entered.text.simplified()", "entered.text.trimmed()"),
 ("calc-two-readings", "score/calculation.cpp", "    if (reading.kind == Reading::Kind::TwoReadings)\n", "    if (false)\n"),
 ("outcome-keeps-score", "score/calculation.h", "return warnings.isEmpty() && !score;", "return warnings.isEmpty();"),
 ("accept-dip-focus", "score/calculation.cpp", "    } else {\n        outcome.focus = kNext[size_t(entry)];", "    } else {\n        outcome.focus = controlOf(entry);"),
 ("breakdown-no-exponent", "score/scorebreakdown.cpp", "QString::number(value, 'f',", "QString::number(value, 'g',"),
 ("window-enter-pct", "window/entrycontrols.cpp", "    if (isEnter(event))\n        Q_EMIT enterPressed();\n    const QString typed", "    if (!isEnter(event))\n        Q_EMIT enterPressed();\n    const QString typed"),
 ("window-click-select", "window/scorewindow.cpp", "    lineEdit(entry)->selectAll();\n    showScore(std::nullopt);", "    showScore(std::nullopt);"),
 ("window-reset-clear", "window/scorewindow.cpp", "    m_controls.pctEdit->clear();\n", ""),
 ("window-reset-dip", "window/scorewindow.cpp", "    m_controls.crpEdit->clear();\n    m_controls.dipstickCombo->setCurrentIndex(0);", "    m_controls.crpEdit->clear();"),
 ("window-calc-undo", "window/scorewindow.cpp", "    forgetEntriesHistory();\n", ""),
 ("window-activate", "window/scorewindow.cpp", "    activateWindow();\n", ""),
 ("window-menu-focus", "window/scorewindow.cpp", "focusWidget() == menuBar()", "focusWidget() != menuBar()"),
 ("window-modal-guard", "window/scorewindow.cpp", "if (!QApplication::activeModalWidget())", "if (true)"),
 ("window-select-on-focus", "window/scorewindow.cpp", "    box->setFocus(Qt::OtherFocusReason);\n    lineEdit(entry)->selectAll();", "    box->setFocus(Qt::OtherFocusReason);"),
 ("window-playout-stale", "window/scorewindow.cpp", "            if (texts() == shown)\n", "            if (true)\n"),
 ("window-playout-score", "window/scorewindow.cpp", "        showScore(outcome.score);\n", "        showScore(std::nullopt);\n"),
 ("window-playout-keeps", "window/scorewindow.cpp", "    if (!outcome.keepsScore())\n", "    if (true)\n"),
 ("window-playout-focus", "window/scorewindow.cpp", "                moveFocus(focus);\n", "                ;\n"),
 ("window-playout-box-focus", "window/scorewindow.cpp", ": Control(int(warnings[i].entry))", ": outcome.focus"),
 ("window-tooltip-hide", "window/scorewindow.cpp", "        hideToolTipShowing(m_controls.scoreLabel->toolTip());", "        ;"),
 ("window-copy-line", "window/scorewindow.cpp", "    m_score = score;\n", ""),
 ("window-two-readings-text", "window/texts.h", "decimal + u'0'", "decimal"),
 ("controls-undo-cursor", "window/entrycontrols.cpp", "if (start < 0)", "if (start <= 0)"),
 ("controls-activate-deselect", "window/entrycontrols.cpp", "if (!focus || (focus != this && focus != focusProxy()))", "if (!focus || (focus != this))"),
 ("controls-click-inside", "window/entrycontrols.cpp", "rect().contains(event->position().toPoint())", "true"),
 ("controls-ambiguous", "window/entrycontrols.cpp", "!shortcutEvent->isAmbiguous() && ", ""),
 ("factory-tab-order", "window/controlfactory.cpp", "widget->focusPolicy() == Qt::NoFocus", "widget->focusPolicy() != Qt::NoFocus"),
 ("factory-buddy", "window/controlfactory.cpp", "        if (a.label)\n", "        if (false)\n"),
 ("messagebox-activate", "window/messagebox.cpp", "    if (parent)\n        parent->activateWindow();", "    if (false)\n        parent->activateWindow();"),
 ("style-icon-option", "window/sharediconstyle.cpp", "    if (option)\n", "    if (!option)\n"),
 ("resources-icon-sizes", "resources/appicon.cpp", "{16, 32, 64}", "{16, 32}"),
 ("style-deferred-icon", "window/sharediconstyle.cpp", "m_style->standardIcon(m_which)", "m_style->standardIcon(QStyle::SP_MessageBoxWarning)"),
 ("resources-desktop-install", "resources/CMakeLists.txt", "            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)", "            DESTINATION ${CMAKE_INSTALL_DATADIR})"),
 ("guard-exit-status", "window/startupguard.cpp", "std::_Exit(1)", "std::_Exit(0)"),
 ("guard-holds", "window/startupguard.cpp", "    g_held.append(qFormatLogMessage(type, context, text));\n", "    std::fputs(qPrintable(qFormatLogMessage(type, context, text) + u'\\n'), stderr);\n"),
 ("guard-explained", "window/startupguard.cpp", "if (&reading != std::end(kReadings) - 1 || !explained)", "if (true)"),
 ("guard-crash-said", "window/startupguard.cpp", "onCrashAction.sa_handler = onCrash;", "onCrashAction.sa_handler = SIG_DFL;"),
 ("guard-lost-connection", "window/startupguard.cpp", "        passOn(); // what it said stands", "        ; // what it said stands"),
]

def main():
    root, build, report = sys.argv[1:4]
    only = set(sys.argv[4:])
    results = {}
    env = dict(os.environ, QT_QPA_PLATFORM='offscreen')
    for name, path, text, mutated in MUTANTS:
        if only and name not in only:
            continue
        path = os.path.join(root, path)
        with open(path) as f:
            source = f.read()
        if text not in source:
            results[name] = 'text not found'
        else:
            with open(path, 'w') as f:
                f.write(source.replace(text, mutated, 1))
            try:
                built = subprocess.run(['cmake', '--build', build, '-j2'], capture_output=True)
                if built.returncode != 0:
                    results[name] = 'does not build'
                else:
                    run = subprocess.run(['ctest', '--test-dir', build, '-j2', '--timeout', '120'],
                                         capture_output=True, text=True, env=env)
                    failed = run.stdout.partition('The following tests FAILED:')[2]
                    results[name] = sorted(set(re.findall(r'\d+ - (\S+) \(', failed)))
            finally:
                with open(path, 'w') as f:
                    f.write(source)
        print(name, results[name], flush=True)
        with open(report, 'w') as f:
            json.dump(results, f, indent=1)
    subprocess.run(['cmake', '--build', build, '-j2'], capture_output=True)
    killed = sum(1 for r in results.values() if isinstance(r, list) and r)
    print(f'{killed} of {len(results)} mutants killed')


if __name__ == '__main__':
    main()
