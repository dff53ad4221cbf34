#!/usr/bin/env python3
"""Mutation check over score/ and window/: each mutant is one single-point
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
 ("reader-space-allowed", "score/numberreader.cpp", "(c >= u' ' && c <= u'~')", "(c > u' ' && c <= u'~')"),
 ("reader-any-digit", "score/numberreader.cpp", "    if (!anyDigit)\n", "    if (false)\n"),
 ("reader-exp-sign", "score/numberreader.cpp", "        if (negative)\n            n.exponent = -n.exponent;\n", ""),
 ("reader-overflow", "score/numberreader.cpp", "n.magnitude + exponent > 0", "n.magnitude + exponent >= 0"),
 ("reader-exp-rewind", "score/numberreader.cpp", "            in.rewind(mark);\n", ""),
 ("reader-blanks-before-unit", "score/numberreader.cpp", "        return {};\n    in.skipBlanks();", "        return {};"),
 ("form-flag-reset", "score/scoreform.cpp", "    // Only a refusal during this calculation withholds its score.\n    m_refused = false;\n", ""),
 ("form-order", "score/scoreform.cpp", "Control::Dipstick);\n    breakdown.pct", "Control::Dipstick);\n    if (false) breakdown.pct"),
 ("form-refuse-select", "score/scoreform.cpp", "    m_ui.selectAll(entry);\n", ""),
 ("form-refuse-focus", "score/scoreform.cpp", "    m_ui.setFocus(controlOf(entry));\n", ""),
 ("form-calc-clear", "score/scoreform.cpp", "void ScoreForm::calculate()\n{\n    showScore(std::nullopt);", "void ScoreForm::calculate()\n{"),
 ("form-dip-focus", "score/scoreform.cpp", "    if (readDipstick())\n        m_ui.setFocus(Control::Calculate);", "    if (!readDipstick())\n        m_ui.setFocus(Control::Calculate);"),
 ("window-enter-pct", "window/entrycontrols.cpp", "    if (isEnter(event))\n        Q_EMIT enterPressed();\n    const QString typed", "    if (!isEnter(event))\n        Q_EMIT enterPressed();\n    const QString typed"),
 ("window-click-select", "window/scorewindow.cpp", "    selectAll(Entry::Pct);\n    m_form.clearScore();", "    m_form.clearScore();"),
 ("window-reset-clear", "window/scorewindow.cpp", "    m_controls.pctEdit->clear();\n", ""),
 ("window-reset-dip", "window/scorewindow.cpp", "    m_controls.crpEdit->clear();\n    m_controls.dipstickCombo->setCurrentIndex(0);", "    m_controls.crpEdit->clear();"),
 ("window-calc-undo", "window/scorewindow.cpp", "    forgetEntriesHistory();\n    m_form.calculate();", "    m_form.calculate();"),
 ("window-activate", "window/scorewindow.cpp", "    activateWindow();\n", ""),
 ("window-menu-focus", "window/scorewindow.cpp", "focusWidget() == menuBar()", "focusWidget() != menuBar()"),
 ("window-modal-guard", "window/scorewindow.cpp", "if (!QApplication::activeModalWidget())", "if (true)"),
 ("window-select-on-focus", "window/scorewindow.cpp", "        lineEdit(entry)->setFocus(Qt::OtherFocusReason);\n        selectAll(entry);", "        lineEdit(entry)->setFocus(Qt::OtherFocusReason);"),
 ("controls-undo-cursor", "window/entrycontrols.cpp", "if (start < 0)", "if (start <= 0)"),
 ("controls-activate-deselect", "window/entrycontrols.cpp", "if (!focus || (focus != this && focus != focusProxy()))", "if (!focus || (focus != this))"),
 ("controls-click-inside", "window/entrycontrols.cpp", "rect().contains(event->position().toPoint())", "true"),
 ("controls-ambiguous", "window/entrycontrols.cpp", "!shortcutEvent->isAmbiguous() && ", ""),
 ("factory-tab-order", "window/controlfactory.cpp", "widget->focusPolicy() == Qt::NoFocus", "widget->focusPolicy() != Qt::NoFocus"),
 ("factory-buddy", "window/controlfactory.cpp", "        if (a.label)\n", "        if (false)\n"),
 ("messagebox-activate", "window/messagebox.cpp", "    if (parent)\n        parent->activateWindow();", "    if (false)\n        parent->activateWindow();"),
 ("style-icon-option", "window/sharediconstyle.cpp", "    if (option)\n", "    if (!option)\n"),
 ("guard-exit-status", "window/startupguard.cpp", "std::_Exit(1)", "std::_Exit(0)"),
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
