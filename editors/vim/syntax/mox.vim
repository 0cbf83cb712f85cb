" Vim syntax file for mox programs (*.mox).
"
" A program is a main expression and comma-separated definitions
" name\param\...\body. Definitions are recognised only at the top level: the
" parenthesis and brace regions below do not contain them, so a comma inside
" a call list or a brace list never starts one.
if exists('b:current_syntax')
  finish
endif

syn sync fromstart
" Names are runs of lower-case letters and "_"; a digit starts a new token.
syn iskeyword a-z,_

syn match moxNumber /\d\+/
syn match moxOperator /[-+*\/%^<>=#&|@:.;?'"~!$`\\]/
syn match moxCombinator /[A-Z]/
syn match moxComma /,/
" Lambda parameters: a name before a backslash.
syn match moxParameter /[a-z_]\+\ze\\/
" Let names: x{value}body, and the pair form p q{value}body.
syn match moxLetName /[a-z_]\+\%( [a-z_]\+\)\=\ze{/

syn keyword moxBuiltin abort abs accept acos addrinfo af_unspec ai_passive asctime asin
syn keyword moxBuiltin assert atan atof atoi atol bind bond buck bzero calloc cape ceil cent
syn keyword moxBuiltin clearerr closedir closesocket cmpr connect copy cork cos cosh cray
syn keyword moxBuiltin ctime dash diff difftime dirent eacces ebadf econnaborted efault
syn keyword moxBuiltin eintr einval eio emfile enfile enodev enomem enotsock enxio
syn keyword moxBuiltin eopnotsupp eoverflow erf erfc errno ewouldblock exit exp fabs fclose
syn keyword moxBuiltin fd_set fdopen feof ferror fflush fgetc fgetpos fgets fileno floor
syn keyword moxBuiltin fmod fopen fputc fputs fread free freeaddrinfo frexp fseek fsetpos
syn keyword moxBuiltin ftell fwrite gai_strerror getaddrinfo getc getchar getenv gethostname
syn keyword moxBuiltin getnameinfo getpeername gmtime gteq htonl htons hypot inet_ntop
syn keyword moxBuiltin inet_pton init isalnum isalpha isascii isblank isdigit isgraph
syn keyword moxBuiltin islower isprint ispunct isspace isupper labs ldexp leaf leak left
syn keyword moxBuiltin less lisp listen lits load localtime log look lots malloc memchr
syn keyword moxBuiltin memcmp memcpy memmove memset mktime modf mult nextafter ntohl ntohs
syn keyword moxBuiltin opendir over perror plus post pow powa putc putchar puts raise rand
syn keyword moxBuiltin rand_max rank raws read readdir real realloc rech reci recj reck recl
syn keyword moxBuiltin recm recn reco recv recvfrom redh redi redj redk redl redm redn redo
syn keyword moxBuiltin refh refi refj refk refl refm refn refo relh reli relj relk rell relm
syn keyword moxBuiltin reln relo remh remi remj remk reml remm remn remo remove rename
syn keyword moxBuiltin rewind rght road same send sendto setbuf setsockopt shutdown sin sinh
syn keyword moxBuiltin sock_stream socket sqrt srand stderr stdout strcasecmp strcat strchr
syn keyword moxBuiltin strcmp strcpy strdup strerror strftime strlen strncasecmp strncat
syn keyword moxBuiltin strncmp strncpy strnlen strpbrk strrchr strspn strstr strtod strtok
syn keyword moxBuiltin strtok_r strtol strtoul system tan tanh tern time time_t tmpfile
syn keyword moxBuiltin tmpnam toascii todo tolower toupper trim type ungetc wave write zits
" Texts: square brackets nest; [p], [q] and [r] stand for a newline and the
" two brackets where texts are read element by element.
syn region moxText matchgroup=moxText start=/\[/ end=/\]/ contains=moxText,moxTextEscape
syn match moxTextEscape /\[[pqr]\]/ contained

syn region moxParens matchgroup=moxParen start=/(/ end=/)/ contains=@moxExpression
syn region moxBraces matchgroup=moxBrace start=/{/ end=/}/ contains=@moxExpression
syn cluster moxExpression contains=moxNumber,moxOperator,moxCombinator,moxComma,moxParameter,moxLetName,moxBuiltin,moxText,moxParens,moxBraces

" A definition's name after a top-level comma: a name, an upper-case letter
" or a bracketed operator character, then an optional () and a backslash.
syn match moxDefinition /\%(,\_s*\)\@<=\%([a-z_]\+\|[A-Z]\|\[[^]]\]\)\%(()\)\=\ze\\/

hi def link moxNumber Number
hi def link moxOperator Operator
hi def link moxCombinator Constant
hi def link moxComma Delimiter
hi def link moxParameter Identifier
hi def link moxLetName Identifier
hi def link moxBuiltin Function
hi def link moxText String
hi def link moxTextEscape SpecialChar
hi def link moxParen Delimiter
hi def link moxBrace Delimiter
hi def link moxDefinition Function

let b:current_syntax = 'mox'
