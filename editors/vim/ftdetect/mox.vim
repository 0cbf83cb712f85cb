" mox programs end in .mox.
autocmd BufNewFile,BufRead *.mox setfiletype mox
