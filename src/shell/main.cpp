#include "shell/VarnelApp.h"

int main(int argc, char** argv)
{
    CVarnelApp app(argc, argv);
    return app.Run();
}
