// A GUI application object for jobs that paint (fonts, PDF) without a screen: the offscreen
// platform when no display is there, and a private runtime folder so that Qt stays quiet.
#pragma once

#include <QGuiApplication>
#include <memory>

namespace tarno::host {

std::unique_ptr<QGuiApplication> MakeHeadlessGuiApplication();

}  // namespace tarno::host
