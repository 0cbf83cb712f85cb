import sys
l = None
for n in range(200000, 0, -1):
    l = ((n, n), l)
s = 0
while l is not None:
    (h, _), l = l
    s += h + h
sys.exit(s % 256)
