#pragma once
// Fonts and text need a QGuiApplication; tests that paint text start one through this.

namespace trovelin::testing {

// Starts the application object once per test program, with the settings of the user scope in
// a temporary folder. Without a display and without
// QT_QPA_PLATFORM it runs on the offscreen platform, so that a bare ctest run works too.
void ensureGuiApplication();
// The same for tests of widgets, which need a QApplication; the application title is "Trovelin".
void ensureWidgetApplication();

}  // namespace trovelin::testing
