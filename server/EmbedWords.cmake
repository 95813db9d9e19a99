# Turns words.txt into a C++ source holding the list as one string.
file(READ ${IN} words)
file(WRITE ${OUT} "// Generated from words.txt at build time.\n#include \"server/WordList.h\"\n\nnamespace kelpa::server {\nconst char* const WordList::embedded = R\"KELPAWORDS(${words})KELPAWORDS\";\n}\n")
