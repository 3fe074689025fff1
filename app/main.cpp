#include "app/About.h"
#include "app/Application.h"
#include "app/MessageBox.h"
#include "app/Unit1.h"
#include "config/shcut.h"


int main(int argc, char** argv)
{
    lexifol::TApplication app(argc, argv);
    lexifol::InstallMessageBoxes();

    TForm1 form1;
    TAboutBox aboutBox(&form1);
    TForm2 form2(form1.Catalogue.names(), form1.Settings.get(), &form1);
    form1.setAboutBox(&aboutBox);
    form1.setConfigurationDialog(&form2);
    form2.setMainWindow(&form1);

    form1.show();
    return app.exec();
}
