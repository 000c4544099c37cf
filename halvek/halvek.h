// Scan-conversion component used by the inscribed rectangle.
#ifndef HALVEK_HALVEK_H
#define HALVEK_HALVEK_H
#endif
