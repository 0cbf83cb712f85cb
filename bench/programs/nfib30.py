import sys
def nfib(n):
    return 1 if n < 2 else nfib(n - 1) + nfib(n - 2) + 1
sys.exit(nfib(30) % 256)
