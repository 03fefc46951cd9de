#include "app/CCorvaneApp.h"
#include "model/FileIo.h"

int main(int argc, char** argv) {
    FileIo::reportOversizeWrites();
    return CCorvaneApp::run(argc, argv);
}
