// The real widgets, driven as a user would, on Qt's offscreen platform.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "tests/support/lwo_builder.h"
#include "ui/qt/about_box.h"
#include "ui/qt/hints_window.h"
#include "ui/qt/main_window.h"
#include "ui/qt/platform_dialogs.h"
#include "ui/qt/script_window.h"
#include "ui/hints.h"

namespace {

using namespace vxtest;

// Messages are recorded instead of waiting in a modal box.
class RecordingMainWindow : public vx::ui::MainWindow {
public:
    using MainWindow::MainWindow;
    void report(const vx::Message& m) override { messages << vx::ui::toQString(m.text); }
    bool runScriptDialog(vx::ui::ScriptDialog& values) override {
        values.scenePath = "dish.lws";
        values.scriptPath = "dish.sama";
        ++scriptDialogRuns;
        return true;
    }
    QStringList messages;
    int scriptDialogRuns = 0;
};

class RecordingScriptWindow : public vx::ui::ScriptWindow {
public:
    using ScriptWindow::ScriptWindow;
    void report(const vx::Message& m) override { messages << vx::ui::toQString(m.text); }
    QStringList messages;
};

bool writeBytes(const QString& path, const std::vector<std::uint8_t>& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) &&
           f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) == qint64(bytes.size());
}

void showActive(QWidget& w) {
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

template <class T>
T* child(QWidget& parent, const char* name) {
    T* c = parent.findChild<T*>(QString::fromLatin1(name));
    if (!c) qFatal("no child %s", name);
    return c;
}

}  // namespace

class QtWidgetsTest : public QObject {
    Q_OBJECT

private slots:
    // Every control says what it does, and both windows take dropped files.
    void controlsHaveTooltipsAndWindowsTakeDrops() {
        RecordingMainWindow w("");
        vx::ui::ScriptWindow s(vx::ui::scriptDialogFor({}));
        for (QWidget* window : {static_cast<QWidget*>(&w), static_cast<QWidget*>(&s)}) {
            for (QWidget* c : window->findChildren<QWidget*>()) {
                const bool control = qobject_cast<QAbstractButton*>(c) || qobject_cast<QLineEdit*>(c) ||
                                     qobject_cast<QComboBox*>(c);
                if (control && !qobject_cast<QComboBox*>(c->parentWidget()))
                    QVERIFY2(!c->toolTip().isEmpty(), qPrintable(c->objectName()));
            }
        }
        // The drop itself is the dialogs' logic (tests/ui/drop_test.cpp).
        QVERIFY(w.acceptDrops() && s.acceptDrops());
    }

    // The dialog's logic is proved on tests/ui; here each control reaches its
    // handler. Leaving the input box derives the output, Apply converts; Enter
    // in the box presses OK, which converts the object typed since and closes.
    void inputBoxLeavesAndEnterConverts() {
        QTemporaryDir dir;
        const QString a = dir.filePath(QStringLiteral("a.lwo"));
        QVERIFY(writeBytes(a, lwobTriangle()));
        QVERIFY(writeBytes(dir.filePath(QStringLiteral("b.lwo")), lwobTriangle()));
        RecordingMainWindow w("");
        showActive(w);
        auto* input = child<QLineEdit>(w, "inputEdit");
        auto* output = child<QLineEdit>(w, "outputEdit");
        input->setFocus();
        QTest::keyClicks(input, a);
        output->setFocus();
        QCOMPARE(output->text(), dir.filePath(QStringLiteral("a.mdl")));
        QTest::mouseClick(child<QPushButton>(w, "applyButton"), Qt::LeftButton);
        QCOMPARE(w.messages, QStringList{QStringLiteral("Conversion successful.")});
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("a.mdl"))));
        QVERIFY(w.isVisible());
        QVERIFY(!QApplication::overrideCursor());
        input->setFocus();
        input->selectAll();
        QTest::keyClicks(input, dir.filePath(QStringLiteral("b.lwo")));
        QTest::keyClick(input, Qt::Key_Return);
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("b.mdl"))));
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Accepted));
    }

    void checkBoxesDetailsAndMenuReachTheirHandlers() {
        QTemporaryDir dir;
        const QString object = dir.filePath(QStringLiteral("ship.lwo"));
        QVERIFY(writeBytes(object, form("LWO2", {})));
        RecordingMainWindow w(vx::ui::qStringToPath(object));
        showActive(w);
        QTest::mouseClick(child<QCheckBox>(w, "convertCheck"), Qt::LeftButton);
        QCOMPARE(child<QLineEdit>(w, "outputEdit")->text(), QString());
        QTest::mouseClick(child<QCheckBox>(w, "articulateCheck"), Qt::LeftButton);
        QCOMPARE(QString::fromStdString(w.dialog().fields.scenePath), QStringLiteral("dish.lws"));
        QTest::mouseClick(child<QPushButton>(w, "detailsButton"), Qt::LeftButton);
        QCOMPARE(w.scriptDialogRuns, 2);

        auto* sortLayers = child<QCheckBox>(w, "sortLayersCheck");
        QVERIFY(!sortLayers->isVisible());
        child<QAction>(w, "advancedOptionsAction")->trigger();
        QVERIFY(sortLayers->isVisible() && sortLayers->isEnabled() && sortLayers->isChecked());
        QVERIFY(child<QCheckBox>(w, "allImageFormatsCheck")->isVisible());
        QCOMPARE(w.contextMenuPolicy(), Qt::ActionsContextMenu);
        QVERIFY(w.actions().contains(child<QAction>(w, "advancedOptionsAction")));
    }

    void scriptWindowBoxesReachTheirHandlers() {
        RecordingScriptWindow w(vx::ui::ScriptDialog{});
        showActive(w);
        auto* spf = child<QComboBox>(w, "secondsPerFrameCombo");
        // The combo box's completion must not turn "1" and "3" into the
        // longer entries "1/30" and "30" that begin with them.
        for (const char* typed : {"1", "3"}) {
            spf->lineEdit()->setFocus();
            spf->lineEdit()->selectAll();
            QTest::keyClicks(spf->lineEdit(), QString::fromLatin1(typed));
            child<QLineEdit>(w, "epochEdit")->setFocus();
            QCOMPARE(spf->currentText(), QString::fromLatin1(typed));
            QCOMPARE(w.values().secondsPerFrame, std::stod(typed));
        }
        auto* subdivide = child<QCheckBox>(w, "subdivideCheck");
        QTest::mouseClick(subdivide, Qt::LeftButton, {}, QPoint(6, subdivide->height() / 2));
        QVERIFY(child<QLineEdit>(w, "slicesEdit")->isEnabled());

        child<QLineEdit>(w, "epochEdit")->setText(QStringLiteral("soon"));
        QTest::mouseClick(child<QPushButton>(w, "closeButton"), Qt::LeftButton);
        QCOMPARE(w.messages, QStringList{QStringLiteral("Please enter a number.")});
        child<QLineEdit>(w, "epochEdit")->setText(QStringLiteral("60"));
        QTest::mouseClick(child<QPushButton>(w, "closeButton"), Qt::LeftButton);
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(w.values().epoch, 60.0);
    }

    void hintsReopenOnTheFirstTopic() {
        const QString first = vx::ui::toQString(vx::ui::hintsText(0));
        {
            vx::ui::HintsWindow w;
            showActive(w);
            auto* text = child<QPlainTextEdit>(w, "hintsText");
            QVERIFY(text->isReadOnly());
            QCOMPARE(text->toPlainText(), first);
            QTest::mouseClick(child<QRadioButton>(w, "topic2"), Qt::LeftButton);
            QCOMPARE(text->toPlainText(), vx::ui::toQString(vx::ui::hintsText(2)));
        }
        vx::ui::HintsWindow again;
        QCOMPARE(child<QPlainTextEdit>(again, "hintsText")->toPlainText(), first);
        QVERIFY(child<QRadioButton>(again, "topic0")->isChecked());
    }

    void aboutBoxShowsTheDrawnIconAndBanner() {
        vx::ui::AboutBox box;
        QCOMPARE(box.windowTitle(), QStringLiteral("About Vertexion"));
        QCOMPARE(child<QLabel>(box, "aboutBanner")->text(), QStringLiteral("Vertexion v2.8b"));
        QVERIFY(!child<QLabel>(box, "aboutIcon")->pixmap().isNull());
        RecordingMainWindow w("");
        QVERIFY(!w.windowIcon().isNull());
    }

    void messageBoxesShowTextFileReasonAndSeverity() {
        const auto box = vx::ui::messageBox(
            nullptr, {vx::Severity::Error, "Can't open output file.", "/models/ship.mdl", "Permission denied"});
        QCOMPARE(box->windowTitle(), QStringLiteral("Vertexion"));
        QCOMPARE(box->text(), QStringLiteral("Can't open output file."));
        QCOMPARE(box->informativeText(), QStringLiteral("File: /models/ship.mdl\nReason: Permission denied"));
        QCOMPARE(box->icon(), QMessageBox::Critical);
        const auto warning = vx::ui::messageBox(nullptr, {vx::Severity::Warning, "Warning: Surface S not used.\n",
                                                          "ship.lwo", {}});
        QCOMPARE(warning->text(), QStringLiteral("Warning: Surface S not used."));
        QCOMPARE(warning->informativeText(), QStringLiteral("File: ship.lwo"));
        QCOMPARE(warning->icon(), QMessageBox::Warning);
        QCOMPARE(vx::ui::messageBox(nullptr, {vx::Severity::Information, "Conversion successful.", {}, {}})->icon(),
                 QMessageBox::Information);
    }

    void filtersBecomeQtNameFilters() {
        QCOMPARE(vx::ui::qtNameFilters(vx::ui::kObjectFilters),
                 (QStringList{QStringLiteral("Lightwave Objects (*.lwo)"), QStringLiteral("All Files (*)")}));
        QCOMPARE(vx::ui::qtNameFilters({{"Images", {"*.tga", "*.png"}}}),
                 QStringList{QStringLiteral("Images (*.tga *.png)")});
    }
};

QTEST_MAIN(QtWidgetsTest)
#include "qt_widgets_test.moc"
