/* strings.c - small C helpers for text. */
#include "strings.h"

unsigned long CopyString(char* target, const char* source, unsigned long size)
{
    unsigned long length = 0;
    while (source[length] != 0)
    {
        if (length + 1 < size)
            target[length] = source[length];
        length++;
    }
    if (size > 0)
        target[length < size ? length : size - 1] = 0;
    return length;
}

int StartsWith(const char* text, const char* prefix)
{
    while (*prefix)
        if (*text++ != *prefix++)
            return 0;
    return 1;
}

int CountWords(const char* text)
{
    int words = 0;
    int inWord = 0;
    for (; *text; text++)
    {
        if (*text == ' ' || *text == '\t')
            inWord = 0;
        else if (!inWord)
        {
            inWord = 1;
            words++;
        }
    }
    return words;
}
