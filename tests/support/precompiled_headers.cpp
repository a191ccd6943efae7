// The owner of the tests' shared precompiled headers (tests/CMakeLists.txt).
