import sys
n = 1000000
v = [None] * n
for i in range(n):
    v[i] = i
s = 0
for i in range(n):
    s += v[i] if v[i] is not None else 0
sys.exit(s % 256)
