// zvtool: command-line companion of the workstation.
//   zvtool indicator ...   indicator simulator
//   zvtool db ...          database preparation and import
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream(stderr) << "usage: zvtool indicator|db ...\n";
    return 2;
}
