// Internal to the style code: the trace loadFromFile makes, for a caller
// that already holds the file's text it has just written.
#ifndef FILE_STORE_H
#define FILE_STORE_H

void traceFileLoad(const char* file_name);

#endif
