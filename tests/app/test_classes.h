#pragma once

// Each runs one QtTest class and returns its number of failures.
int RunTForm1Tests(int argc, char** argv);
int RunDesktopTests(int argc, char** argv);
