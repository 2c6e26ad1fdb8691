/* strings.h - small C helpers for text, used by the demo program. */
#ifndef UTIL_STRINGS_H
#define UTIL_STRINGS_H

#ifdef __cplusplus
extern "C" {
#endif

/*
 * Copies at most size - 1 characters of source into target and always
 * ends target with a zero byte.
 *
 * Returns the length of source, so a result of size or more means the
 * copy was cut short.
 */
unsigned long CopyString(char* target, const char* source, unsigned long size);

/* Returns nonzero when text begins with prefix. */
int StartsWith(const char* text, const char* prefix);

/* Counts the words of a text, separated by blanks and tabs. */
int CountWords(const char* text);

#ifdef __cplusplus
}
#endif

#endif
