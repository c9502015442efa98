// Visibility of the base library's public interface.
#ifndef PK_BASE_H
#define PK_BASE_H
#define PK_API __attribute__((visibility("default")))
#endif
