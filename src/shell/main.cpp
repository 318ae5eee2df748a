#include "shell/VarnelApp.h"

int main(int argc, char** argv)
{
    if (const int rc = CVarnelApp::AnswerWithoutWindow(argc, argv); rc != CVarnelApp::kOpenWindow) return rc;
    CVarnelApp app(argc, argv);
    return app.Run();
}
