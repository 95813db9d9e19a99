#include "gui/AppRunner.h"
#include "gui/SelfTest.h"
#include "gui/StartOptions.h"

#include <QGuiApplication>
#include <QQuickStyle>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication::setApplicationName("Kelpa");
    QGuiApplication::setOrganizationName("Kelpa");
    QQuickStyle::setStyle("Material");
    QGuiApplication app(argc, argv);

    // Qt has taken its own options (-platform and the like) out already.
    const QStringList qtArguments = QGuiApplication::arguments();
    std::vector<std::string> arguments;
    for (qsizetype i = 1; i < qtArguments.size(); ++i) arguments.push_back(qtArguments[i].toStdString());
    auto outcome = kelpa::gui::StartOptions::parse(arguments, kelpa::gui::StartOptions::processEnvironment());
    if (!outcome.options) {
        std::fputs((outcome.message + "\n").c_str(), outcome.exitCode == 0 ? stdout : stderr);
        return outcome.exitCode;
    }
    if (outcome.options->selfTest) return kelpa::gui::SelfTest::run(*outcome.options);
    return kelpa::gui::AppRunner::run(*outcome.options);
}
