// The Python module vk4100: ScriptCamera with the GIL released while a call waits for the
// camera, so that several cameras can run from Python threads.
#include <pybind11/functional.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include "python/script_camera.h"

namespace py = pybind11;
using vk::script::CameraFailure;
using vk::script::ScriptCamera;

namespace {

// The module's CameraError type; lives as long as the interpreter.
PyObject* cameraError = nullptr;

// "r", "g", "b" or 0 to 2.
int ChannelOf(const py::object& channel) {
    if (py::isinstance<py::str>(channel)) {
        const std::string name = channel.cast<std::string>();
        const std::string names = "rgb";
        if (name.size() == 1 && names.find(name[0]) != std::string::npos) {
            return static_cast<int>(names.find(name[0]));
        }
        throw CameraFailure("bad channel: " + name + " (r, g or b)");
    }
    return channel.cast<int>();
}

std::string TextOf(const py::handle& value) {
    return py::str(value).cast<std::string>();
}

// Calls the camera without the GIL.
template <typename F>
auto Unlocked(F&& call) {
    py::gil_scoped_release release;
    return call();
}

// Takes the GIL for the script's progress callback; an exception there cancels the call.
void SetProgress(ScriptCamera& camera, py::object callback) {
    if (callback.is_none()) {
        camera.SetProgress(nullptr);
        return;
    }
    camera.SetProgress([&camera, callback](const std::string& text, int percent) {
        py::gil_scoped_acquire acquire;
        try {
            callback(text, percent < 0 ? py::object(py::none()) : py::object(py::int_(percent)));
        } catch (py::error_already_set& e) {
            camera.Cancel();
            e.discard_as_unraisable("vk4100 progress callback");
        }
    });
}

}  // namespace

PYBIND11_MODULE(vk4100, m) {
    m.doc() =
        "VK-4100 cameras over their serial command line: parameters, setting files, "
        "LUTs, flash areas, actions and the XML description.";
    cameraError = PyErr_NewExceptionWithDoc(
        "vk4100.CameraError",
        "A camera operation failed. Attributes: reason, request (the line sent), reply (the "
        "camera's answer); empty where there was none.",
        PyExc_RuntimeError, nullptr);
    m.attr("CameraError") = py::handle(cameraError);
    py::register_exception_translator([](std::exception_ptr p) {
        try {
            if (p) std::rethrow_exception(p);
        } catch (const CameraFailure& f) {
            py::object error = py::reinterpret_borrow<py::object>(cameraError)(f.what());
            error.attr("reason") = f.what();
            error.attr("request") = f.request;
            error.attr("reply") = f.reply;
            PyErr_SetObject(cameraError, error.ptr());
        }
    });

    py::class_<ScriptCamera>(m, "Camera", R"(One camera on its own port and core.

Camera(port, mode="com", baud=0, timeout_ms=2500, factory=False, progress=None) opens the
port (a device path, a port name or an index of the mode's list; baud 0 is 9600 bit/s).
Every call waits for the camera with the GIL released; a failure raises CameraError.
progress(text, percent) hears of long operations (percent None while there is none); an
exception in it cancels the operation. Use it as a context manager to close the port.)")
        .def(py::init([](const std::string& port, const std::string& mode, std::uint32_t baud,
                         int timeoutMs, bool factory, py::object progress) {
                 vk::script::CameraOptions options{port, mode, baud, timeoutMs, factory};
                 auto camera = Unlocked([&] { return std::make_unique<ScriptCamera>(options); });
                 SetProgress(*camera, progress);
                 return camera;
             }),
             py::arg("port"), py::arg("mode") = "com", py::arg("baud") = 0,
             py::arg("timeout_ms") = 2500, py::arg("factory") = false,
             py::arg("progress") = py::none())
        .def_static(
            "simulated",
            [](const std::string& model, std::uint32_t baud, int timeoutMs, py::object progress) {
                auto camera =
                    Unlocked([&] { return ScriptCamera::Simulated(model, baud, timeoutMs); });
                SetProgress(*camera, progress);
                return camera;
            },
            py::arg("model") = "", py::arg("baud") = 0, py::arg("timeout_ms") = 2500,
            py::arg("progress") = py::none(),
            "The built-in simulated camera of the model (default VK-4100C-PMCL); baud paces "
            "its line like a real one (0: no pacing).")
        .def_property_readonly("port", &ScriptCamera::Port, "The port the camera is on.")
        .def_property_readonly("is_open", &ScriptCamera::IsOpen)
        .def(
            "set_progress", [](ScriptCamera& c, py::object cb) { SetProgress(c, cb); },
            py::arg("progress"), "Replaces the progress callback (None: none).")
        .def("cancel", &ScriptCamera::Cancel,
             "Asks the running call (on another thread) to stop at its next step.")
        .def(
            "close", [](ScriptCamera& c) { Unlocked([&] { c.Close(); }); },
            "Closes the port (and stops a simulated camera).")
        .def("__enter__", [](py::object self) { return self; })
        .def("__exit__",
             [](ScriptCamera& c, py::args) {
                 Unlocked([&] { c.Close(); });
                 return false;
             })
        .def(
            "__getitem__",
            [](ScriptCamera& c, const std::string& m) {
                return Unlocked([&] { return c.Get(m); });
            },
            py::arg("mnemonic"), "Queries a value: an int, or the text a text command holds.")
        .def(
            "__setitem__",
            [](ScriptCamera& c, const std::string& m, py::object value) {
                const std::string text = TextOf(value);
                Unlocked([&] { c.Set(m, text); });
            },
            py::arg("mnemonic"), py::arg("value"),
            "Sets a value, checked against the parameter's range before anything is sent.")
        .def(
            "dump",
            [](ScriptCamera& c) {
                const auto values = Unlocked([&] { return c.Dump(); });
                py::dict d;
                for (const auto& [mnemonic, value] : values)
                    d[py::str(mnemonic)] = value;
                return d;
            },
            "Reads every parameter of the mode: {mnemonic: value} in table order.")
        .def(
            "model",
            [](ScriptCamera& c) {
                const auto model = Unlocked([&] { return c.Model(); });
                py::dict d;
                d["name"] = model.first;
                d["index"] = model.second;
                return d;
            },
            "Checks the model: {'name': ..., 'index': ...}; CameraError outside the family.")
        .def(
            "info", [](ScriptCamera& c) { return Unlocked([&] { return c.Info(); }); },
            "Versions and ids: a dict; None where the camera was silent (then CameraError).")
        .def(
            "save",
            [](ScriptCamera& c, const std::string& path, bool shipping) {
                Unlocked([&] { c.Save(path, shipping); });
            },
            py::arg("path"), py::arg("shipping") = false,
            "Reads the camera and writes its setting file (All Data, or the user parameters).")
        .def(
            "load",
            [](ScriptCamera& c, const std::string& path, bool changedOnly) {
                return Unlocked([&] { return c.Load(path, changedOnly); });
            },
            py::arg("path"), py::arg("changed_only") = false,
            "Sends a setting file; returns the lines sent. CameraError names what the camera "
            "refused, did not answer or what was skipped.")
        .def(
            "diff",
            [](ScriptCamera& c, const std::string& path) {
                const auto differences = Unlocked([&] { return c.Diff(path); });
                py::list rows;
                for (const auto& d : differences)
                    rows.append(py::make_tuple(d.name, d.fileValue, d.cameraValue));
                return rows;
            },
            py::arg("path"),
            "The values of the file the camera does not hold: [(name, file_value, "
            "camera_value)], None where a side has none.")
        .def(
            "lut_read",
            [](ScriptCamera& c, py::object channel) {
                const int ch = ChannelOf(channel);
                return Unlocked([&] { return c.LutRead(ch); });
            },
            py::arg("channel"), "One LUT (channel 'r', 'g', 'b' or 0 to 2): 256 values.")
        .def(
            "lut_write",
            [](ScriptCamera& c, py::object channel, const std::vector<std::int32_t>& values) {
                const int ch = ChannelOf(channel);
                Unlocked([&] { c.LutWrite(ch, values); });
            },
            py::arg("channel"), py::arg("values"), "Writes one LUT: 256 values, 0 to 4095.")
        .def(
            "area_load", [](ScriptCamera& c, int n) { Unlocked([&] { c.AreaLoad(n); }); },
            py::arg("area"), "Loads flash area N (0 Factory, 1 to 3 User).")
        .def(
            "area_store", [](ScriptCamera& c, int n) { Unlocked([&] { c.AreaStore(n); }); },
            py::arg("area"), "Stores the current settings into area N (0 needs factory=True).")
        .def(
            "action",
            [](ScriptCamera& c, const std::string& name, py::args args) {
                std::vector<std::string> words;
                for (const py::handle& a : args)
                    words.push_back(TextOf(a));
                const auto r = Unlocked([&] { return c.Action(name, words); });
                py::dict d;
                d["value"] = r.value;
                d["result_code"] = r.resultCode;
                d["fields"] = r.fields;
                d["notice"] = r.notice;
                return d;
            },
            py::arg("name"),
            "Runs a camera action as its button does (names as `vk4100ctl action list`): "
            "{'value', 'result_code', 'fields', 'notice'}.")
        .def(
            "xml_download",
            [](ScriptCamera& c, const std::string& path) {
                return Unlocked([&] { return c.XmlDownload(path); });
            },
            py::arg("path") = "_download.zip",
            "Fetches the camera's XML description file; returns the bytes written.")
        .def(
            "register_read",
            [](ScriptCamera& c, std::uint64_t address, std::uint32_t length) {
                const auto bytes = Unlocked([&] { return c.RegisterRead(address, length); });
                return py::bytes(reinterpret_cast<const char*>(bytes.data()), bytes.size());
            },
            py::arg("address"), py::arg("length") = 4, "Reads bytes of a GenCP register.");
}
