import sys
def count(m, a, b, n):
    while not m < b:
        n, a, b = n + 1, b, a + b
    return n
s = 0
for _ in range(40):
    s += count(10 ** 2000, 0, 1, 0)
sys.exit(s % 256)
