#include "app/ui/application.h"
#include "app/ui/mainform.h"

#include <QStyleFactory>
#include <memory>

int main(int argc, char *argv[])
{
    OrvelleApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    std::unique_ptr<TMainForm> mainForm;
    ReportErrors([&] { mainForm.reset(CreateWindows(QCoreApplication::applicationDirPath(), args).MainForm); });
    if (!mainForm)
        return 1;
    mainForm->show();
    return QApplication::exec();
}
