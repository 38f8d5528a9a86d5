#include <QApplication>

#include "platform/gui/Prompts.h"
#include "platform/gui/QtPrompts.h"
#include "workbench/StartUp.h"
#include "workbench/Unit1.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ConfigureApplication(app);

    QtPrompts qtPrompts;
    installPrompts(&qtPrompts);

    // The main window creates the dialogs after itself; all of them live
    // until the program ends, which is when the main window closes.
    TForm1 form;
    form.show();
    int result = app.exec();
    installPrompts(nullptr);
    return result;
}
