// JavaScript linked into the browser build (emcc --js-library).
mergeInto(LibraryManager.library, {
  // The one call from the show into the page (app/web/WebMain.cpp): a show
  // has ended, with 0 after Escape or the failed start-up's result (1 or -1).
  velmoraShowEnded: function (result) {
    if (Module['onShowEnded']) {
      Module['onShowEnded'](result);
    }
  },
  // SDL's Web Audio code calls these runtime functions from its inline
  // JavaScript, where the linker does not see the use; depending on them
  // here keeps them in the build.
  velmoraShowEnded__deps: ['$autoResumeAudioContext', '$dynCall'],
});
