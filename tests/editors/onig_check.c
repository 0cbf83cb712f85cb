/* Compiles regular expressions with Oniguruma, the engine that TextMate
 * grammars are written for, and optionally searches a subject with each.
 *
 * Standard input holds records of three NUL-terminated fields: a label, a
 * pattern and a subject. For each record one line is written:
 *   label<TAB>error<TAB>message     the pattern does not compile
 *   label<TAB>none                  it compiles and does not match the subject
 *   label<TAB>match<TAB>text        the leftmost match in the subject
 * An empty subject is searched like any other. The exit status is 1 when a
 * pattern did not compile or the input was malformed, 0 otherwise. */
#include <oniguruma.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* Reads one NUL-terminated field; returns NULL at the end of the input. */
static char* ReadField(void) {
  size_t size = 64, n = 0;
  char* s = malloc(size);
  int c;
  while ((c = getchar()) != EOF && c != '\0') {
    if (n + 1 == size) s = realloc(s, size *= 2);
    s[n++] = (char)c;
  }
  if (c == EOF && n == 0) {
    free(s);
    return NULL;
  }
  s[n] = '\0';
  return s;
}

/* Checks one record; returns 0 when the pattern compiled. */
static int CheckRecord(const char* label, const char* pattern, const char* subject) {
  const UChar* p = (const UChar*)pattern;
  regex_t* reg;
  OnigErrorInfo info;
  int r = onig_new(&reg, p, p + strlen(pattern), ONIG_OPTION_CAPTURE_GROUP, ONIG_ENCODING_UTF8,
                   ONIG_SYNTAX_DEFAULT, &info);
  if (r != ONIG_NORMAL) {
    UChar message[ONIG_MAX_ERROR_MESSAGE_LEN];
    onig_error_code_to_str(message, r, &info);
    printf("%s\terror\t%s\n", label, (const char*)message);
    return 1;
  }
  const UChar* s = (const UChar*)subject;
  const UChar* end = s + strlen(subject);
  OnigRegion* region = onig_region_new();
  r = onig_search(reg, s, end, s, end, region, ONIG_OPTION_NONE);
  if (r >= 0) {
    printf("%s\tmatch\t%.*s\n", label, region->end[0] - region->beg[0], subject + region->beg[0]);
  } else {
    printf("%s\tnone\n", label);
  }
  onig_region_free(region, 1);
  onig_free(reg);
  return 0;
}

int main(void) {
  OnigEncoding encodings[] = {ONIG_ENCODING_UTF8};
  onig_initialize(encodings, 1);
  int failed = 0;
  char* label;
  while ((label = ReadField()) != NULL) {
    char* pattern = ReadField();
    char* subject = pattern ? ReadField() : NULL;
    if (subject == NULL) {
      printf("%s\terror\ttruncated record\n", label);
      failed = 1;
    } else {
      failed |= CheckRecord(label, pattern, subject);
    }
    free(label);
    free(pattern);
    free(subject);
  }
  onig_end();
  return failed;
}
