// Runs the view and settings test classes in one program.
#include <QApplication>
#include <QTest>

#include <memory>

std::unique_ptr<QObject> MakePageViewTest();
std::unique_ptr<QObject> MakeSettingsTest();

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int failed = 0;
    for (auto make : {MakePageViewTest, MakeSettingsTest}) {
        std::unique_ptr<QObject> test = make();
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed == 0 ? 0 : 1;
}
