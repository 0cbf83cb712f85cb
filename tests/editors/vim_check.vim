" Colours every file of the argument list with the mox syntax and checks
" that no file leaves a region open at its end (a line added after the last
" one must lie outside every region) and that every token class below is
" recognised in some file, nested texts included. Findings go to the file
" named by g:report; Vim exits with status 1 when there is one.
let s:classes = ['moxNumber', 'moxOperator', 'moxText', 'moxDefinition', 'moxParameter',
      \ 'moxLetName', 'moxBrace', 'moxParen', 'moxCombinator', 'moxBuiltin', 'moxComma']
let s:seen = {}
let s:failures = []
syntax on
for s:file in argv()
  execute 'edit' fnameescape(s:file)
  setlocal syntax=mox
  for s:l in range(1, line('$'))
    for s:c in range(1, col([s:l, '$']) - 1)
      let s:stack = map(synstack(s:l, s:c), 'synIDattr(v:val, "name")')
      for s:name in s:stack
        let s:seen[s:name] = 1
      endfor
      if count(s:stack, 'moxText') > 1
        let s:seen['nested moxText'] = 1
      endif
    endfor
  endfor
  call append(line('$'), 'x')
  let s:open = map(synstack(line('$'), 1), 'synIDattr(v:val, "name")')
  if !empty(s:open)
    call add(s:failures, s:file . ': still open at the end: ' . join(s:open, ' '))
  endif
  bwipeout!
endfor
for s:class in s:classes + ['nested moxText']
  if !has_key(s:seen, s:class)
    call add(s:failures, s:class . ' is recognised in no file')
  endif
endfor
call writefile(s:failures + [len(argv()) . ' files coloured, ' . len(s:failures) . ' findings'], g:report)
if empty(s:failures)
  qall!
endif
cquit!
