import sys
def fib(n, a, b):
    while n >= 1:
        n, a, b = n - 1, b, a + b
    return a
s = 0
for _ in range(100):
    s += fib(5000, 0, 1) % 256
sys.exit(s % 256)
