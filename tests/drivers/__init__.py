"""What the end-to-end tests and the benchmarks drive the game with: display servers
with the game on them (xsession, wlsession, wine), its window read back from the X
server and over AT-SPI (screen, a11y), the page's server and browsers (serve_web,
browser, marionette), and the checks every build's end-to-end test makes (e2e).
Found through PYTHONPATH=tests, which CTest and the Makefile set."""
