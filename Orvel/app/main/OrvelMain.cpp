// orvel [link…]: starts Orvel, or hands the links (orvel://translate?app=…&language=…) to the Orvel that
// already runs for this home folder and ends.
#include <QApplication>

#include "Orvel/app/ApplicationServices.h"
#include "Orvel/app/MainContent.h"
#include "Orvel/app/MainWindow.h"
#include "Orvel/app/SingleInstance.h"
#include "Orvel/app/TerminationSignals.h"
#include "Orvel/app/TranslatorApp.h"
#include "Orvel/state/Background.h"
#include "Orvel/views/ModelSettingsView.h"
#include "Orvel/views/SystemPlatformServices.h"
#include "core/FreedMemory.h"
#include "core/OrvelPaths.h"
#include "core/SystemLog.h"

int main(int argc, char** argv) {
    orvel::FreedMemory::limitPools();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Orvel"));
    QApplication::setApplicationVersion(QStringLiteral(ORVEL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("orvel"));
    const QStringList links = QApplication::arguments().mid(1);

    const QString socket = orvel::SingleInstance::serverName(orvel::OrvelPaths::home());
    if (orvel::SingleInstance::forward(socket, links))
        return 0;
    orvel::SingleInstance instance;
    if (!instance.listen(socket))
        orvel::SystemLog::info("Application", "Links from later starts cannot arrive: " +
                                                  instance.errorString().toStdString());

    int status = 0;
    // Workers of the runs, the updates and the captures still finishing after the application's end read
    // through the services: those outlive them, and stay when the program ends without waiting for them.
    orvel::ApplicationServices services;
    {
        orvel::TranslatorApp app(services.services(), services.preferences(), services.alerts());
        orvel::SystemPlatformServices platform([&services] { services.accessibility().requestTrust(); },
                                               [&app] { app.showSettings(); });
        app.setMainContentFactory([&platform](orvel::TranslatorApp& owner) {
            return orvel::makeMainContent(owner.library(), owner.preferences(), platform,
                                          [&owner] { owner.showSettings(); });
        });
        app.setSettingsContentFactory(
            [](orvel::TranslatorApp& owner) { return new orvel::ModelSettingsView(owner.preferences()); });
        QObject::connect(&instance, &orvel::SingleInstance::linkReceived, &app, &orvel::TranslatorApp::open);
        QObject::connect(&instance, &orvel::SingleInstance::activationRequested, &app,
                         &orvel::TranslatorApp::showMainWindow);
        QObject::connect(&application, &QApplication::aboutToQuit, &app, &orvel::TranslatorApp::flush);
        orvel::TerminationSignals endings;
        QObject::connect(&endings, &orvel::TerminationSignals::received, &app,
                         &orvel::TranslatorApp::endSession);

        app.showMainWindow();
        for (const QString& link : links)
            app.open(link);
        status = QApplication::exec();
    }
    // The workspaces are gone and have written what they held; workers still finishing get a moment.
    return orvel::finishProgram(status, std::chrono::seconds(2));
}
