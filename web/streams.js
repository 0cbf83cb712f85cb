// Standard streams of the worker build (linked in with --pre-js): the
// program's descriptors 0, 1 and 2 become devices of this module. Writes to
// 1 and 2 are handed whole, as raw bytes, to Module.moxWrite(fd, bytes) (the
// worker posts them to the page), so that no byte is decoded or held back
// at a line end; reading 0 finds the end of the input at once.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  var deviceOf = function (minor, fd) {
    var dev = FS.makedev(64, minor);
    FS.registerDevice(dev, {
      open: function (stream) {},
      close: function (stream) {},
      read: function (stream, buffer, offset, length, position) { return 0; },
      write: function (stream, buffer, offset, length, position) {
        var bytes = new Uint8Array(buffer.buffer, buffer.byteOffset + offset, length).slice();
        if (fd > 0 && Module['moxWrite']) Module['moxWrite'](fd, bytes);
        return length;
      },
    });
    FS.mkdev('/dev/mox' + fd, dev);
  };
  deviceOf(0, 0);
  deviceOf(1, 1);
  deviceOf(2, 2);
});
// After the file system's own set-up, which opened descriptors 0 to 2 on
// its terminal device: each is closed and opened again on this module's
// device, which takes the lowest free descriptor, the one just closed.
Module['onRuntimeInitialized'] = function () {
  [0, 1, 2].forEach(function (fd) {
    FS.close(FS.getStream(fd));
    var stream = FS.open('/dev/mox' + fd, fd === 0 ? 0 /* O_RDONLY */ : 1 /* O_WRONLY */);
    if (stream.fd !== fd) throw new Error('standard stream ' + fd + ' landed on ' + stream.fd);
  });
};
