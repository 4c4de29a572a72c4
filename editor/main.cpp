// KovraEdit: the standalone script editor. Links libKovraEngine.so at load
// time for ScriptDeData, so it does not start without the engine library.
#include <QApplication>
#include <QFileInfo>

#include "UnitScriptForm.h"
#include "remain.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("KovraEdit"));

  kovra::TMainForm main_form;
  kovra::TScriptForm script_form(main_form.Editor(), &main_form);
  main_form.SetScriptForm(&script_form);
  main_form.show();

  const QStringList args = QApplication::arguments();
  if (args.size() > 1 && QFileInfo(args.at(1)).isFile()) main_form.OpenFile(args.at(1), false);
  return app.exec();
}
