#include "app/CCorvaneApp.h"

int main(int argc, char** argv) {
    return CCorvaneApp::run(argc, argv);
}
