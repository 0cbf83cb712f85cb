import sys
sys.setrecursionlimit(10000)
def fac(n):
    return 1 if n < 2 else n * fac(n - 1)
s = 0
for _ in range(51):
    s += fac(2000) % 2003
sys.exit(s % 256)
