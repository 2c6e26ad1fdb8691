/* Quillet Standard Style: the site's one script. It ranks the search index as the reader types in the
   search box of every page, fills the search page from its address (search.html?q=NAME), and draws the
   collapsible side tree with the current page marked. It works from file:// with no server: the index and
   the tree are script files that the pages load. */
(function () {
  "use strict";

  var MAX_SUGGESTIONS = 12;
  var indexRequested = false;
  var waiting = [];

  function script(src, done) {
    var s = document.createElement("script");
    s.src = src;
    s.onload = done;
    s.onerror = done;
    document.head.appendChild(s);
  }

  function withIndex(done) {
    if (window.quilletIndex) return done(window.quilletIndex);
    waiting.push(done);
    if (indexRequested) return;
    indexRequested = true;
    var src = document.body.getAttribute("data-search-index") || "search-index.js";
    script(src, function () {
      var calls = waiting;
      waiting = [];
      calls.forEach(function (call) { call(window.quilletIndex || { kinds: [], entries: [], files: [] }); });
    });
  }

  function searchPage() {
    return document.body.getAttribute("data-search-page") || "search.html";
  }

  // Rank: the exact name, then a name starting with the query, then a name containing it, then a full
  // name (scope and name) containing it. Within a rank, types before functions, shorter names first.
  var KIND_ORDER = [3, 2, 0, 0, 0, 1, 1, 4, 5, 6];

  function rank(entry, query, lower) {
    var name = entry[1];
    if (name === query) return 0;
    var lname = name.toLowerCase();
    if (lname === lower) return 1;
    if (lname.indexOf(lower) === 0) return 2;
    if (lname.indexOf(lower) > 0) return 3;
    if ((entry[2] + name).toLowerCase().indexOf(lower) >= 0) return 4;
    return -1;
  }

  function search(index, query, limit) {
    query = query.trim();
    if (!query) return [];
    var lower = query.toLowerCase();
    var found = [];
    var entries = index.entries;
    for (var i = 0; i < entries.length; i++) {
      var r = rank(entries[i], query, lower);
      if (r >= 0) found.push([r, entries[i]]);
    }
    found.sort(function (a, b) {
      if (a[0] !== b[0]) return a[0] - b[0];
      var ka = KIND_ORDER[a[1][0]], kb = KIND_ORDER[b[1][0]];
      if (ka !== kb) return ka - kb;
      var la = a[1][2].length + a[1][1].length, lb = b[1][2].length + b[1][1].length;
      if (la !== lb) return la - lb;
      return a[1][2] + a[1][1] < b[1][2] + b[1][1] ? -1 : 1;
    });
    if (limit && found.length > limit) found.length = limit;
    return found.map(function (f) { return f[1]; });
  }

  function url(index, entry) {
    var kind = index.kinds[entry[0]];
    if (kind === "namespace") return searchPage() + "?q=" + encodeURIComponent(entry[2] + entry[1] + "::");
    var file = index.files[entry[5]];
    if (!file) return document.body.getAttribute("data-files-page") || "";
    return file + (entry[6] ? "#" + entry[6] : "");
  }

  function resultItem(index, entry) {
    var li = document.createElement("li");
    var a = document.createElement("a");
    a.href = url(index, entry);
    var kind = document.createElement("span");
    kind.className = "kind";
    kind.textContent = index.kinds[entry[0]];
    var name = document.createElement("code");
    name.className = "name";
    name.textContent = entry[2] + entry[1] + entry[3];
    a.appendChild(kind);
    a.appendChild(name);
    li.appendChild(a);
    if (entry[4]) {
      var summary = document.createElement("span");
      summary.className = "summary";
      summary.textContent = entry[4];
      li.appendChild(summary);
    }
    return li;
  }

  // The search box of the page header: suggestions under the box, keyboard included.
  function setUpBox(box) {
    var list = document.createElement("ul");
    list.className = "suggestions";
    list.id = "search-suggestions";
    list.hidden = true;
    list.setAttribute("role", "listbox");
    box.setAttribute("aria-controls", list.id);
    box.parentNode.appendChild(list);
    var selected = -1;

    function choose(i) {
      var items = list.children;
      if (selected >= 0 && items[selected]) items[selected].classList.remove("selected");
      selected = items.length ? (i + items.length) % items.length : -1;
      if (selected >= 0) items[selected].classList.add("selected");
    }
    function close() {
      list.hidden = true;
      selected = -1;
    }
    function update() {
      var query = box.value;
      withIndex(function (index) {
        if (box.value !== query) return;
        list.textContent = "";
        search(index, query, MAX_SUGGESTIONS).forEach(function (entry) {
          list.appendChild(resultItem(index, entry));
        });
        list.hidden = list.children.length === 0;
        selected = -1;
      });
    }
    box.addEventListener("input", update);
    box.addEventListener("focus", function () { withIndex(function () {}); });
    box.addEventListener("keydown", function (event) {
      if (event.key === "ArrowDown") { choose(selected + 1); event.preventDefault(); }
      else if (event.key === "ArrowUp") { choose(selected - 1); event.preventDefault(); }
      else if (event.key === "Escape") { close(); box.blur(); }
      else if (event.key === "Enter" && selected >= 0 && !list.hidden) {
        event.preventDefault();
        window.location.href = list.children[selected].querySelector("a").href;
      }
    });
    box.addEventListener("blur", function () { setTimeout(close, 200); });
    document.addEventListener("keydown", function (event) {
      var target = event.target;
      var typing = target && (target.tagName === "INPUT" || target.tagName === "TEXTAREA" || target.isContentEditable);
      if (event.key === "/" && !typing) { box.focus(); box.select(); event.preventDefault(); }
    });
  }

  // The search page: the results for the query of its address.
  function fillSearchPage(results) {
    var query = new URLSearchParams(window.location.search).get("q") || "";
    var box = document.getElementById("search-box");
    if (box) box.value = query;
    var status = document.getElementById("search-status");
    if (!query) {
      if (status) status.textContent = "Type a name in the search box.";
      return;
    }
    withIndex(function (index) {
      var found = search(index, query, 0);
      results.textContent = "";
      found.forEach(function (entry) { results.appendChild(resultItem(index, entry)); });
      if (status) status.textContent = found.length === 1 ? "1 result for \u201c" + query + "\u201d" :
                                       found.length + " results for \u201c" + query + "\u201d";
    });
  }

  // The side tree: nodes are [label, link, children]. Children are drawn when their node is first opened.
  function here(link) {
    var page = window.location.pathname.split("/").pop();
    return link.split("#")[0] === page;
  }

  function findPath(nodes, path) {
    for (var i = 0; i < nodes.length; i++) {
      path.push(i);
      if (here(nodes[i][1]) || (nodes[i][2] && findPath(nodes[i][2], path))) return true;
      path.pop();
    }
    return false;
  }

  function drawNodes(nodes, list, path, depth) {
    nodes.forEach(function (node, i) {
      var li = document.createElement("li");
      var onPath = path && path[depth] === i;
      var children = node[2];
      var open = null;
      if (children && children.length) {
        var toggle = document.createElement("button");
        toggle.type = "button";
        toggle.className = "toggle";
        toggle.setAttribute("aria-label", "Open or close " + node[0]);
        li.appendChild(toggle);
        open = function () {
          if (!li.querySelector("ul")) {
            var sub = document.createElement("ul");
            drawNodes(children, sub, onPath ? path : null, depth + 1);
            li.appendChild(sub);
          }
          li.classList.toggle("open");
          toggle.setAttribute("aria-expanded", li.classList.contains("open") ? "true" : "false");
        };
        toggle.addEventListener("click", open);
        toggle.setAttribute("aria-expanded", "false");
      }
      var a = document.createElement(node[1] ? "a" : "span");
      if (node[1]) a.href = node[1];
      a.textContent = node[0];
      if (onPath && depth === path.length - 1) {
        a.className = "here";
        a.setAttribute("aria-current", "page");
      }
      li.appendChild(a);
      list.appendChild(li);
      if (onPath && open) open();
    });
  }

  function drawTree(side) {
    var tree = window.quilletTree || [];
    var path = [];
    if (!findPath(tree, path)) path = null;
    var list = document.createElement("ul");
    drawNodes(tree, list, path, 0);
    side.appendChild(list);
    var current = side.querySelector("a.here");
    if (current && current.scrollIntoView) current.scrollIntoView({ block: "nearest" });
  }

  document.addEventListener("DOMContentLoaded", function () {
    var box = document.getElementById("search-box");
    if (box) setUpBox(box);
    var results = document.getElementById("search-results");
    if (results) fillSearchPage(results);
    var side = document.getElementById("side-tree");
    if (side) {
      var src = document.body.getAttribute("data-nav-tree");
      if (src) script(src, function () { drawTree(side); });
    }
  });
})();
